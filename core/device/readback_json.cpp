#include "core/device/readback_json.h"

namespace velorin::core {

nlohmann::ordered_json ReadBackJson(const ReadBackTexts &texts) {
    nlohmann::ordered_json result = nlohmann::ordered_json::object();
    for (const ReadBackTextField &field : ReadBackTextFields) result[field.key] = texts.*field.text;
    return result;
}

}  // namespace velorin::core
