#include "core/scpi/scpi_error.h"

#include "core/scpi/status_bits.h"

namespace velorin::core::scpi {

const char *ErrorText(int code) {
    switch (code) {
        case kNoError:
            return "No error";
        case kCommandError:
            return "Command error";
        case kSyntaxError:
            return "Syntax error";
        case kParameterNotAllowed:
            return "Parameter not allowed";
        case kMissingParameter:
            return "Missing parameter";
        case kUndefinedHeader:
            return "Undefined header";
        case kInvalidSuffix:
            return "Invalid suffix";
        case kExecutionError:
            return "Execution error";
        case kCommandProtected:
            return "Command protected";
        case kSettingsConflict:
            return "Settings conflict";
        case kDataOutOfRange:
            return "Data out of range";
        case kTooMuchData:
            return "Too much data";
        case kIllegalParameterValue:
            return "Illegal parameter value";
        case kHardwareError:
            return "Hardware error";
        case kHardwareMissing:
            return "Hardware missing";
        case kQueueOverflow:
            return "Queue overflow";
        case kQueryInterrupted:
            return "Query INTERRUPTED";
        case kQueryUnterminatedAfterIndefinite:
            return "Query UNTERMINATED after indefinite response";
    }
    return "Error";
}

std::string FormatError(const Error &error) {
    std::string text = ErrorText(error.code);
    if (!error.detail.empty()) text += ";" + error.detail;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return std::to_string(error.code) + "," + quoted + "\"";
}

uint8_t EventBitOf(int code) {
    if (code <= -100 && code > -200) return kEsrCommandError;
    if (code <= -200 && code > -300) return kEsrExecutionError;
    if (code <= -300 && code > -400) return kEsrDeviceError;
    if (code <= -400 && code > -500) return kEsrQueryError;
    return 0;
}

}  // namespace velorin::core::scpi
