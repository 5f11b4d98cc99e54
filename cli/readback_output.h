// The read-back texts as velorinctl prints them, shared by "readback decode" and "readback".
#pragma once

#include "cli/context.h"
#include "core/device/readback_decode.h"

namespace velorin::cli {

// One "key: text" line per dialog field, or with `json` one object of them.
void PrintReadBackTexts(Context &context, const core::ReadBackTexts &texts, bool json);

}  // namespace velorin::cli
