#include "cli/readback_output.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

namespace velorin::cli {

void PrintReadBackTexts(Context &context, const core::ReadBackTexts &texts, bool json) {
    if (json) {
        nlohmann::ordered_json result = nlohmann::ordered_json::object();
        for (const core::ReadBackTextField &field : core::ReadBackTextFields) {
            result[field.key] = texts.*field.text;
        }
        context.out << result.dump(2) << "\n";
        return;
    }
    for (const core::ReadBackTextField &field : core::ReadBackTextFields) {
        std::string label = std::string(field.key) + ":";
        label.resize(std::max<size_t>(label.size() + 1, 20), ' ');
        context.out << label << texts.*field.text << "\n";
    }
}

}  // namespace velorin::cli
