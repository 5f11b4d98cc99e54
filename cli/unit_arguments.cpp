#include "cli/unit_arguments.h"

#include <cstdio>
#include <string>

#include "core/base/unit_value.h"

namespace velorin::cli {

namespace {

std::string Number(const char *format, double value) {
    char text[40];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

CLI::Validator UnitValue(core::Quantity quantity, const char *what, double unit,
                         const char *unitName) {
    const std::string takes =
        std::string("give a number of ") + unitName + ", or one with " + core::UnitNames(quantity);
    return CLI::Validator(
        [quantity, what, unit, takes](std::string &text) -> std::string {
            const core::UnitReading reading = core::ReadQuantity(text, quantity);
            if (reading.status != core::UnitReading::Status::Ok) {
                return "\"" + text + "\" is not " + what + ": " + takes;
            }
            // A bare number is passed on exactly. A converted one is cut to 15 digits, which
            // drops the last-bit error of the scaling: "38.333MHz" is exactly 38.333.
            text = reading.hadSuffix ? Number("%.15g", reading.value / unit)
                                     : Number("%.17g", reading.value);
            return {};
        },
        "");
}

}  // namespace

CLI::Validator FrequencyIn(double unitHz, const char *unitName) {
    return UnitValue(core::Quantity::Frequency, "a frequency", unitHz, unitName);
}

CLI::Validator CurrentIn(double unitA, const char *unitName) {
    return UnitValue(core::Quantity::Current, "a current", unitA, unitName);
}

}  // namespace velorin::cli
