// Decoding of the chip's read-back stream: the first eight fetched bytes, sent MSB first, give
// the chip's status bits and the 48 bits of its EEPROM settings in register-image layout.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/device/register_image.h"

namespace velorin::core {

using ReadBackBytes = std::array<uint8_t, 8>;

struct ReadBackFields {
    int deviceRevision = 0;  // s0-s2, LSB first
    int ramVcoCalWord = 0;   // s3-s8, LSB first
    int eepromStatus = 0;    // s9
    int eepromLock = 0;      // s10
    RegisterImage image;     // s11-s58: Byte5 bit 7 down to Byte0 bit 0
};

// The texts of the read-back dialog, one per field; "µ" is UTF-8.
struct ReadBackTexts {
    std::string raw;
    std::string deviceRevision;
    std::string ramVcoCalWord;
    std::string eepromStatus;
    std::string eepromStatusText;
    std::string eepromLock;
    std::string eepromLockText;
    std::string vcoCalEnable;
    std::string vcoCalEnableText;
    std::string eeVcoCalWord;
    std::string chargePump;
    std::string chargePumpText;
    std::string c3;
    std::string c3Text;
    std::string c1;
    std::string c1Text;
    std::string r2;
    std::string r2Text;
    std::string c2;
    std::string c2Text;
    std::string calDelayCount;
    std::string calDelayText;
    std::string driverSelect;
    std::string driverSelectText;
    std::string outputDivider;
    std::string outputDividerText;
    std::string prescaler;
    std::string prescalerText;
    std::string vcoSelect;
    std::string vcoSelectText;
};

// Each text with its machine name and the dialog control that shows it, in dialog order.
struct ReadBackTextField {
    const char *key;
    int controlId;
    std::string ReadBackTexts::*text;
};
extern const std::array<ReadBackTextField, 30> ReadBackTextFields;

// The chip sends its bits complemented: with the "Invert Data Bits" box clear the bytes are
// complemented before decoding; with it set they are decoded as fetched.
ReadBackBytes PrepareReadBackBytes(const ReadBackBytes &fetched, bool invertBoxSet);

ReadBackFields DecodeReadBackFields(const ReadBackBytes &fetched, bool invertBoxSet);
ReadBackTexts DecodeReadBack(const ReadBackBytes &fetched, bool invertBoxSet);
// The texts of decoded fields, all but the raw string.
ReadBackTexts FormatReadBackFields(const ReadBackFields &fields);

// The stream bits s0-s58, grouped as revision, RAM calibration word, EEPROM status, EEPROM
// lock and then Byte5 down to Byte0, eight bits each.
std::string FormatReadBackRaw(const ReadBackBytes &prepared);

}  // namespace velorin::core
