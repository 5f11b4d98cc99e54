// What each block of the main form sets: the register field, its bits and the choices.
#pragma once

namespace velorin::core {

// The tooltip of the block with the form's control id; empty for any other id.
const char *BlockToolTip(int controlId);

}  // namespace velorin::core
