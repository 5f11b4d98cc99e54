#include "core/device/image_fields.h"

#include <algorithm>
#include <array>

namespace velorin::core {

namespace {

constexpr ImageField FromTable(const RegisterField &f) {
    if (f.field == Field::CalDelayLow) {
        return {"calDelayCount", "calibration delay count", std::nullopt};
    }
    return {f.key, f.label, f.field};
}

// The table's rows with the delay count's high half folded into its low half.
constexpr std::array<ImageField, kRegisterFields.size() - 1> BuildFields() {
    std::array<ImageField, kRegisterFields.size() - 1> fields{};
    size_t next = 0;
    for (const RegisterField &f : kRegisterFields) {
        if (f.field != Field::CalDelayHigh) fields[next++] = FromTable(f);
    }
    return fields;
}

constexpr auto kImageFields = BuildFields();

std::string BitSpan(const char *home, int low, int width) {
    std::string text = std::string(home) + " " + std::to_string(low + width - 1);
    if (width > 1) text += ":" + std::to_string(low);
    return text;
}

std::string TableBits(Field field) {
    const RegisterField &f = FieldOf(field);
    const char *home = f.home == FieldHome::Byte0         ? "Byte0"
                       : f.home == FieldHome::ControlWord ? "word"
                                                          : "Byte5";
    return BitSpan(home, f.low, f.width);
}

}  // namespace

std::span<const ImageField> ImageFields() {
    return kImageFields;
}

const ImageField *FindImageField(std::string_view key) {
    const auto found = std::find_if(kImageFields.begin(), kImageFields.end(),
                                    [key](const ImageField &f) { return key == f.key; });
    return found == kImageFields.end() ? nullptr : &*found;
}

int ReadImageField(const RegisterImage &image, const ImageField &field) {
    return field.field ? ReadField(image, *field.field) : CalDelayCount(image);
}

void WriteImageField(RegisterImage &image, const ImageField &field, int code) {
    if (field.field) {
        WriteField(image, *field.field, code);
    } else {
        SetCalDelayCount(image, code & 3);
    }
}

int ImageFieldMaxCode(const ImageField &field) {
    const int width = field.field
                          ? FieldOf(*field.field).width
                          : FieldOf(Field::CalDelayLow).width + FieldOf(Field::CalDelayHigh).width;
    return (1 << width) - 1;
}

std::string ImageFieldBits(const ImageField &field) {
    if (field.field) return TableBits(*field.field);
    return TableBits(Field::CalDelayHigh) + ", " + TableBits(Field::CalDelayLow);
}

std::string ImageFieldText(const ImageField &field, int code) {
    return field.field ? FieldValueText(*field.field, code) : CalDelayText(code);
}

}  // namespace velorin::core
