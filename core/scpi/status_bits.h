// The bits of the IEEE 488.2 Standard Event Status Register and Status Byte.
#pragma once

#include <cstdint>

namespace velorin::core::scpi {

constexpr uint8_t kEsrOperationComplete = 0x01;
constexpr uint8_t kEsrQueryError = 0x04;
constexpr uint8_t kEsrDeviceError = 0x08;
constexpr uint8_t kEsrExecutionError = 0x10;
constexpr uint8_t kEsrCommandError = 0x20;
constexpr uint8_t kEsrPowerOn = 0x80;

constexpr uint8_t kStbErrorQueue = 0x04;
constexpr uint8_t kStbQuestionable = 0x08;
constexpr uint8_t kStbMessageAvailable = 0x10;
constexpr uint8_t kStbEventSummary = 0x20;
constexpr uint8_t kStbRequestService = 0x40;
constexpr uint8_t kStbOperation = 0x80;

}  // namespace velorin::core::scpi
