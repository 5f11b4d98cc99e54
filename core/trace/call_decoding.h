// A recorded library call as the board sees it: the request (or the first of the per-byte
// requests) the library sends for it, how the program called it, and what it means.
#pragma once

#include <optional>
#include <string>

#include "core/trace/board_call.h"
#include "core/trace/request_words.h"

namespace velorin::core {

// The requests the library sends for the call; nothing for a call that sends none (open,
// close, the I2C address, a transfer of no bytes, a block outside 0 to 3). The view points
// into `call`, which must outlive it.
std::optional<RequestView> CallRequests(const BoardCall &call);

// "WriteOneWire(index=0, value=0x06)".
std::string CallText(const BoardCall &call);

// The export's full name, "Velorin_WriteOneWire".
std::string CallExport(const BoardCall &call);

// The request's words, or what a call without a request did.
std::string CallMeaning(const BoardCall &call);

// The block (0 to 3) the call addresses, or -1.
int CallBlock(const BoardCall &call);

}  // namespace velorin::core
