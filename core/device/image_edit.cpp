#include "core/device/image_edit.h"

#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>

#include "core/base/ascii_text.h"
#include "core/base/hex_text.h"
#include "core/base/unit_value.h"
#include "core/device/image_fields.h"

namespace velorin::core {

namespace {

constexpr const char *kLoopFilterWordKey = "loopFilterWord";

// A whole decimal number, or hexadecimal after 0x; nothing for signs, blanks or other text.
std::optional<long> ParseCode(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    long value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || text[0] == '-' || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

// The position of the value in a list of the field's values, which is its code.
template <size_t N>
std::optional<int> PositionOf(const std::array<int, N> &values, std::string_view text) {
    const auto value = ParseCode(text);
    for (size_t i = 0; value && i < N; ++i) {
        if (values[i] == *value) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<int> ChargePumpCodeFor(std::string_view text) {
    const UnitReading current = ReadQuantity(text, Quantity::Current);
    if (current.status != UnitReading::Status::Ok) return std::nullopt;
    const double sources = current.value / (kChargePumpStepMicroAmps * 1e-6);
    const double whole = std::round(sources);
    // Currents as typed in µA or A land within rounding of a whole number of sources.
    if (std::fabs(sources - whole) > 1e-3 || whole < 0 ||
        whole >= static_cast<double>(ChargePumpCodes.size())) {
        return std::nullopt;
    }
    return ChargePumpCodes[static_cast<size_t>(whole)];
}

// A name that is not a key of the image but stands for one, with the values it takes.
struct FriendlyName {
    const char *name;
    const char *key;
    const char *takes;
    std::function<std::optional<int>(std::string_view)> code;
};

const std::array<FriendlyName, 5> &FriendlyNames() {
    static const std::array<FriendlyName, 5> names = {{
        {"prescaler", "prescalerCode", "2, 3, 4 or 5",
         [](std::string_view v) { return PositionOf(PrescalerForCode, v); }},
        {"outputDivider", "outputDividerCode", "1, 2, 4, 8, 16 or 32",
         [](std::string_view v) { return PositionOf(OutputDividerForCode, v); }},
        {"vco", "vcoSelect", "1 or 2",
         [](std::string_view v) {
             return PositionOf(std::array<int, 2>{1, 2}, v);
         }},
        {"output", "outputType", "lvds or lvpecl",
         [](std::string_view v) -> std::optional<int> {
             const std::string upper = Upper(v);
             if (upper == "LVDS") return 0;
             if (upper == "LVPECL") return 1;
             return std::nullopt;
         }},
        {"chargePump", "chargePumpCode", "0, 56, 112, 168 or 224 uA", ChargePumpCodeFor},
    }};
    return names;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

FieldEdit Refuse(FieldEdit::Status status, std::string message) {
    return {status, std::move(message)};
}

FieldEdit EditLoopFilterWord(RegisterImage &image, std::string_view value) {
    std::string digits(value);
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.erase(0, 2);
    }
    const auto word = ParseCode("0x" + digits);
    if (!word || *word > static_cast<long>(kLoopFilterWordMask)) {
        return Refuse(FieldEdit::Status::BadValue, std::string(kLoopFilterWordKey) +
                                                       " takes 000000 to " +
                                                       FormatLoopFilterWord(kLoopFilterWordMask) +
                                                       " (hexadecimal), not " + Quoted(value));
    }
    SetLoopFilterWord(image, static_cast<uint32_t>(*word));
    return {};
}

std::string NameList() {
    std::string list;
    for (const std::string &name : EditableFieldNames()) {
        list += (list.empty() ? "" : ", ") + name;
    }
    return list;
}

}  // namespace

std::vector<std::string> EditableFieldNames() {
    std::vector<std::string> names;
    for (const ImageField &field : ImageFields()) {
        // The spare bits of Byte5 are no field: nothing sets them.
        if (field.field != Field::Byte5Spare) names.emplace_back(field.key);
    }
    names.emplace_back(kLoopFilterWordKey);
    for (const FriendlyName &friendly : FriendlyNames()) names.emplace_back(friendly.name);
    return names;
}

FieldEdit ApplyFieldEdit(RegisterImage &image, std::string_view assignment) {
    const size_t equals = assignment.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return Refuse(FieldEdit::Status::NotAnAssignment,
                      Quoted(assignment) + " is not FIELD=VALUE");
    }
    const std::string_view name = assignment.substr(0, equals);
    const std::string_view value = assignment.substr(equals + 1);
    if (name == kLoopFilterWordKey) return EditLoopFilterWord(image, value);

    for (const FriendlyName &friendly : FriendlyNames()) {
        if (name != friendly.name) continue;
        const auto code = friendly.code(value);
        if (!code) {
            return Refuse(
                FieldEdit::Status::BadValue,
                std::string(friendly.name) + " takes " + friendly.takes + ", not " + Quoted(value));
        }
        WriteImageField(image, *FindImageField(friendly.key), *code);
        return {};
    }

    const ImageField *field = FindImageField(name);
    if (field == nullptr || field->field == Field::Byte5Spare) {
        return Refuse(FieldEdit::Status::UnknownField,
                      "unknown field " + Quoted(name) + "; the fields are " + NameList());
    }
    const auto code = ParseCode(value);
    const int max = ImageFieldMaxCode(*field);
    if (!code || *code > max) {
        return Refuse(FieldEdit::Status::BadValue, std::string(field->key) + " takes 0 to " +
                                                       std::to_string(max) + ", not " +
                                                       Quoted(value));
    }
    WriteImageField(image, *field, static_cast<int>(*code));
    return {};
}

}  // namespace velorin::core
