#include "core/device/register_image.h"

#include "core/text/hex_text.h"

namespace velorin::core {

namespace {

struct Field {
    int low;
    int width;
    uint32_t Mask() const { return (1u << width) - 1u; }
};

// Byte0 layout.
constexpr Field kVcoSelect{0, 1};
constexpr Field kPrescaler{1, 2};
constexpr Field kOutputDivider{3, 3};
constexpr Field kOutputType{6, 1};
constexpr Field kCalDelayLow{7, 1};
// Control-word layout.
constexpr Field kC2{0, 5};
constexpr Field kR2{5, 5};
constexpr Field kC1{10, 5};
constexpr Field kC3{15, 4};
constexpr Field kChargePump{19, 4};
constexpr Field kCalDelayHigh{23, 1};
constexpr Field kVcoCalWord{24, 6};
constexpr Field kVcoCalOverride{30, 1};
constexpr Field kVcoCalEnable{31, 1};
constexpr Field kLoopFilter{0, 19};
// Byte5 layout.
constexpr Field kTestSelect{0, 4};

uint32_t Read(uint32_t container, Field field) {
    return (container >> field.low) & field.Mask();
}

uint32_t Write(uint32_t container, Field field, uint32_t value) {
    const uint32_t mask = field.Mask() << field.low;
    return (container & ~mask) | ((value << field.low) & mask);
}

int ReadByte0(const RegisterImage &image, Field field) {
    return static_cast<int>(Read(image.bytes[0], field));
}

void WriteByte0(RegisterImage &image, Field field, int value) {
    image.bytes[0] =
        static_cast<uint8_t>(Write(image.bytes[0], field, static_cast<uint32_t>(value)));
}

int ReadWord(const RegisterImage &image, Field field) {
    return static_cast<int>(Read(image.ControlWord(), field));
}

void WriteWord(RegisterImage &image, Field field, uint32_t value) {
    image.SetControlWord(Write(image.ControlWord(), field, value));
}

}  // namespace

uint32_t RegisterImage::ControlWord() const {
    return static_cast<uint32_t>(bytes[1]) | static_cast<uint32_t>(bytes[2]) << 8 |
           static_cast<uint32_t>(bytes[3]) << 16 | static_cast<uint32_t>(bytes[4]) << 24;
}

void RegisterImage::SetControlWord(uint32_t word) {
    for (int i = 0; i < 4; ++i) bytes[1 + i] = static_cast<uint8_t>(word >> (8 * i));
}

RegisterImage &ProgramRegisterImage() {
    static RegisterImage image;
    return image;
}

int VcoSelect(const RegisterImage &image) {
    return ReadByte0(image, kVcoSelect);
}
void SetVcoSelect(RegisterImage &image, int value) {
    WriteByte0(image, kVcoSelect, value);
}
int PrescalerCode(const RegisterImage &image) {
    return ReadByte0(image, kPrescaler);
}
void SetPrescalerCode(RegisterImage &image, int code) {
    WriteByte0(image, kPrescaler, code);
}
int OutputDividerCode(const RegisterImage &image) {
    return ReadByte0(image, kOutputDivider);
}
void SetOutputDividerCode(RegisterImage &image, int code) {
    WriteByte0(image, kOutputDivider, code);
}
int OutputType(const RegisterImage &image) {
    return ReadByte0(image, kOutputType);
}
void SetOutputType(RegisterImage &image, int value) {
    WriteByte0(image, kOutputType, value);
}

int CalDelayCount(const RegisterImage &image) {
    return ReadByte0(image, kCalDelayLow) | ReadWord(image, kCalDelayHigh) << 1;
}

void SetCalDelayCount(RegisterImage &image, int value) {
    WriteByte0(image, kCalDelayLow, value & 1);
    WriteWord(image, kCalDelayHigh, static_cast<uint32_t>(value >> 1) & 1u);
}

int C2Code(const RegisterImage &image) {
    return ReadWord(image, kC2);
}
void SetC2Code(RegisterImage &image, int code) {
    WriteWord(image, kC2, code);
}
int R2Code(const RegisterImage &image) {
    return ReadWord(image, kR2);
}
void SetR2Code(RegisterImage &image, int code) {
    WriteWord(image, kR2, code);
}
int C1Code(const RegisterImage &image) {
    return ReadWord(image, kC1);
}
void SetC1Code(RegisterImage &image, int code) {
    WriteWord(image, kC1, code);
}
int C3Code(const RegisterImage &image) {
    return ReadWord(image, kC3);
}
void SetC3Code(RegisterImage &image, int code) {
    WriteWord(image, kC3, code);
}
int ChargePumpCode(const RegisterImage &image) {
    return ReadWord(image, kChargePump);
}
void SetChargePumpCode(RegisterImage &image, int code) {
    WriteWord(image, kChargePump, code);
}
int VcoCalWord(const RegisterImage &image) {
    return ReadWord(image, kVcoCalWord);
}
void SetVcoCalWord(RegisterImage &image, int value) {
    WriteWord(image, kVcoCalWord, value);
}
int VcoCalOverride(const RegisterImage &image) {
    return ReadWord(image, kVcoCalOverride);
}
void SetVcoCalOverride(RegisterImage &image, int value) {
    WriteWord(image, kVcoCalOverride, value);
}
int VcoCalEnable(const RegisterImage &image) {
    return ReadWord(image, kVcoCalEnable);
}
void SetVcoCalEnable(RegisterImage &image, int value) {
    WriteWord(image, kVcoCalEnable, value);
}

int TestSelect(const RegisterImage &image) {
    return static_cast<int>(Read(image.bytes[5], kTestSelect));
}

void SetTestSelect(RegisterImage &image, int code) {
    image.bytes[5] =
        static_cast<uint8_t>(Write(image.bytes[5], kTestSelect, static_cast<uint32_t>(code)));
}

uint32_t LoopFilterWord(const RegisterImage &image) {
    return Read(image.ControlWord(), kLoopFilter);
}

void SetLoopFilterWord(RegisterImage &image, uint32_t word) {
    WriteWord(image, kLoopFilter, word);
}

std::string FormatLoopFilterWord(uint32_t word) {
    return FormatHex(word & kLoopFilterWordMask, 6);
}

int DecodeChargePumpCode(int code) {
    for (size_t position = 1; position < ChargePumpCodes.size(); ++position) {
        if (ChargePumpCodes[position] == code) return static_cast<int>(position);
    }
    return 0;
}

int OutputDividerValue(int code) {
    if (code < 0 || code >= static_cast<int>(OutputDividerForCode.size())) return 0;
    return OutputDividerForCode[static_cast<size_t>(code)];
}

int PrescalerValue(int code) {
    if (code < 0 || code >= static_cast<int>(PrescalerForCode.size())) return 0;
    return PrescalerForCode[static_cast<size_t>(code)];
}

const std::array<const char *, 16> TestSelectEntries = {
    "0000 ibias_100ua", "0001 ibias_100ub", "0010 not used", "0011 vb",
    "0100 vb1",         "0101 vb2",         "0110 not used", "0111 not used",
    "1000 iref20ua",    "1001 vbg",         "1010 vreg3",    "1011 vreg2",
    "1100 not used",    "1101 vbiasee",     "1110 vcc24_lb", "1111 vblo",
};

bool IsValidBlockIndex(int index) {
    return index >= 0 && index < kBlockCount;
}

std::string BlockName(int index) {
    if (!IsValidBlockIndex(index)) return {};
    return std::string("Block ") + BlockLetter(index);
}

char BlockLetter(int index) {
    return IsValidBlockIndex(index) ? static_cast<char>('A' + index) : '?';
}

}  // namespace velorin::core
