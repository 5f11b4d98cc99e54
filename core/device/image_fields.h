// The image's fields as the command line names them (the code keys of `image decode --json`)
// and as the exports list them: the register table's fields in its order, except that the
// calibration delay count's two halves are one field.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/device/register_fields.h"
#include "core/device/register_image.h"

namespace velorin::core {

struct ImageField {
    const char *key;             // "prescalerCode", "calDelayCount"
    const char *label;           // "prescaler code", as a person reads it
    std::optional<Field> field;  // the table's field; none for the calibration delay count
};

std::span<const ImageField> ImageFields();
// The field of that key (exact case); nullptr for any other text.
const ImageField *FindImageField(std::string_view key);

int ReadImageField(const RegisterImage &image, const ImageField &field);
// The code is cut to the field's width; every other bit stays.
void WriteImageField(RegisterImage &image, const ImageField &field, int code);
int ImageFieldMaxCode(const ImageField &field);

// Where the bits lie, high bit first: "Byte0 2:1", "Byte0 6", "word 9:5" (control-word bits),
// "word 23, Byte0 7" for the calibration delay count.
std::string ImageFieldBits(const ImageField &field);
// What the code means, from the register table: "/ 4", "LVPECL", "16,384", "224 µA" (UTF-8).
std::string ImageFieldText(const ImageField &field, int code);

}  // namespace velorin::core
