#include "cli/readback_output.h"

#include <algorithm>
#include <string>

#include "core/device/readback_json.h"

namespace velorin::cli {

void PrintReadBackTexts(Context &context, const core::ReadBackTexts &texts, bool json) {
    if (json) {
        context.out << core::ReadBackJson(texts).dump(2) << "\n";
        return;
    }
    for (const core::ReadBackTextField &field : core::ReadBackTextFields) {
        std::string label = std::string(field.key) + ":";
        label.resize(std::max<size_t>(label.size() + 1, 20), ' ');
        context.out << label << texts.*field.text << "\n";
    }
}

}  // namespace velorin::cli
