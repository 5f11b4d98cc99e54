// The standard SCPI error codes the instrument queues, with their texts, and the event-status
// bit each class of error sets.
#pragma once

#include <cstdint>
#include <string>

namespace velorin::core::scpi {

enum ErrorCode : int {
    kNoError = 0,
    kCommandError = -100,
    kSyntaxError = -102,
    kParameterNotAllowed = -108,
    kMissingParameter = -109,
    kUndefinedHeader = -113,
    kInvalidSuffix = -131,
    kExecutionError = -200,
    kCommandProtected = -203,
    kSettingsConflict = -221,
    kDataOutOfRange = -222,
    kTooMuchData = -223,
    kIllegalParameterValue = -224,
    kHardwareError = -240,
    kHardwareMissing = -241,
    kQueueOverflow = -350,
    kQueryInterrupted = -410,
    kQueryUnterminatedAfterIndefinite = -440,
};

// A queued error: the code and, when there is more to say, what went wrong.
struct Error {
    int code = kNoError;
    std::string detail;
};

// "No error", "Syntax error", ...; "Error" for a code this table does not hold.
const char *ErrorText(int code);

// The error queue's entry: <code>,"<text>[;<detail>]" with quotes in the detail doubled.
std::string FormatError(const Error &error);

// The Standard Event Status Register bit of the error's class: command errors CME, execution
// errors EXE, device-specific DDE, query errors QYE; 0 for no error.
uint8_t EventBitOf(int code);

}  // namespace velorin::core::scpi
