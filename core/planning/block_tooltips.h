// What each block of the main form sets: the register field, its bits and the choices, from
// the register-field table.
#pragma once

#include <string>

namespace velorin::core {

// The tooltip of the block with the form's control id; empty for any other id.
std::string BlockToolTip(int controlId);

}  // namespace velorin::core
