// The read-back texts as one JSON object, keyed and ordered as the dialog's fields (velorinctl
// readback --json prints it; the instrument answers it on one line).
#pragma once

#include <nlohmann/json.hpp>

#include "core/device/readback_decode.h"

namespace velorin::core {

nlohmann::ordered_json ReadBackJson(const ReadBackTexts &texts);

}  // namespace velorin::core
