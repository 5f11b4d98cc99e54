// FIELD=VALUE edits of a register image, as scripts give them: a field by its code key
// (`prescalerCode=2`, `loopFilterWord=02279E`) or by a friendly name that maps to one
// (`prescaler=4`, `outputDivider=4`, `vco=2`, `output=lvpecl`, `chargePump=224uA`).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/device/register_image.h"

namespace velorin::core {

struct FieldEdit {
    enum class Status { Ok, NotAnAssignment, UnknownField, BadValue };
    Status status = Status::Ok;
    std::string message;  // why not, naming the field and what it takes
};

// Applies one edit to the image; on any failure the image is left as it was.
FieldEdit ApplyFieldEdit(RegisterImage &image, std::string_view assignment);

// Every name an edit takes: the code keys in table order, then the friendly names.
std::vector<std::string> EditableFieldNames();

}  // namespace velorin::core
