#include "core/base/unit_value.h"

#include <array>
#include <cmath>

#include "core/base/ascii_text.h"
#include "core/base/number_text.h"

namespace velorin::core {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t SkipDigits(std::string_view text, size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

// The length of the longest decimal number at the start of the text; 0 when there is none.
size_t DecimalLength(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t integerEnd = SkipDigits(text, i);
    bool digits = integerEnd > i;
    i = integerEnd;
    if (i < text.size() && text[i] == '.') {
        const size_t fractionEnd = SkipDigits(text, i + 1);
        digits = digits || fractionEnd > i + 1;
        i = fractionEnd;
    }
    if (!digits) return 0;
    // An exponent only counts when it has digits: "3EHZ" is 3 followed by "EHZ".
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        const size_t exponentEnd = SkipDigits(text, e);
        if (exponentEnd > e) i = exponentEnd;
    }
    return i;
}

// The unit a suffix names, as a power of ten of the base unit: dividing by 1e6 rounds 2.5 uA
// correctly where multiplying by the inexact 1e-6 does not.
struct Suffix {
    std::string_view upper;
    int exponent;
};

constexpr std::array<Suffix, 5> kFrequencySuffixes = {{
    {"HZ", 0},
    {"KHZ", 3},
    {"MHZ", 6},
    {"MAHZ", 6},
    {"GHZ", 9},
}};
// "\xC2\xB5" is the micro sign and "\xCE\xBC" the Greek mu in UTF-8; Upper leaves both alone.
constexpr std::array<Suffix, 5> kCurrentSuffixes = {{
    {"A", 0},
    {"MA", -3},
    {"UA", -6},
    {"\xC2\xB5"
     "A",
     -6},
    {"\xCE\xBC"
     "A",
     -6},
}};
constexpr std::array<Suffix, 3> kTimeSuffixes = {{
    {"S", 0},
    {"MS", -3},
    {"US", -6},
}};

std::optional<int> ExponentOf(std::string_view suffix, Quantity quantity) {
    const std::string upper = Upper(suffix);
    auto find = [&upper](const auto &table) -> std::optional<int> {
        for (const Suffix &s : table) {
            if (s.upper == upper) return s.exponent;
        }
        return std::nullopt;
    };
    switch (quantity) {
        case Quantity::Frequency:
            return find(kFrequencySuffixes);
        case Quantity::Current:
            return find(kCurrentSuffixes);
        case Quantity::Time:
            return find(kTimeSuffixes);
        case Quantity::Plain:
            break;
    }
    return std::nullopt;
}

// Letters and the two-byte micro signs: what a suffix may be made of.
bool LooksLikeSuffix(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte >= 0x80) continue;
        return false;
    }
    return !text.empty();
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
    const size_t length = DecimalLength(text);
    if (length == 0 || length != text.size()) return std::nullopt;
    const double value = LeadingNumber(text);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

UnitReading ReadQuantity(std::string_view text, Quantity quantity, double bareScale) {
    text = Trim(text);
    UnitReading reading;
    const size_t length = DecimalLength(text);
    if (length == 0) return reading;
    const auto number = ParseDecimal(text.substr(0, length));
    if (!number) return reading;
    const std::string_view suffix = Trim(text.substr(length));
    double value = *number * bareScale;
    if (!suffix.empty()) {
        if (!LooksLikeSuffix(suffix)) return reading;
        const auto exponent = ExponentOf(suffix, quantity);
        if (!exponent) {
            reading.status = UnitReading::Status::BadSuffix;
            return reading;
        }
        const double power = std::pow(10.0, std::abs(*exponent));
        value = *exponent < 0 ? *number / power : *number * power;
        reading.hadSuffix = true;
    }
    if (!std::isfinite(value)) return reading;
    reading.status = UnitReading::Status::Ok;
    reading.value = value;
    return reading;
}

std::string UnitNames(Quantity quantity) {
    switch (quantity) {
        case Quantity::Frequency:
            return "Hz, kHz, MHz or GHz";
        case Quantity::Current:
            return "A, mA or uA";
        case Quantity::Time:
            return "s, ms or us";
        case Quantity::Plain:
            break;
    }
    return "no unit";
}

}  // namespace velorin::core
