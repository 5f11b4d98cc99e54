// File > Export Settings...: the program's register image and the view's block, in the form
// the chosen file's type names, written whole or not at all.
#pragma once

#include "core/base/prompts.h"
#include "core/device/image_export.h"
#include "core/device/register_image.h"

namespace velorin::core {

// The three forms as file types, the block's header first.
FileRequest ExportSettingsRequest(int block);

enum class ExportOutcome { Written, Cancelled, Failed };

// Asks for a file through the prompts and writes it atomically: an old file stays intact until
// the new one is complete. A C header's array is named after the file when its name is a C
// identifier. A failure is told, and nothing is lost.
ExportOutcome ExportSettings(Prompts &prompts, const RegisterImage &image, int block,
                             const ExportStamp &stamp);

}  // namespace velorin::core
