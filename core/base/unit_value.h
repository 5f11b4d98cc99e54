// Numbers with units, as the command line and the SCPI server take them: a decimal number
// ("5", "-0.5", ".5", "3e7", "30E+6"), optionally followed (with or without blanks between) by
// a unit suffix of its quantity in any case. Frequencies take HZ, KHZ, MHZ (mega, as SCPI reads
// it for frequencies), MAHZ and GHZ; currents A, MA (milli), UA and µA; times S, MS and US.
// Values come back in the quantity's base unit: Hz, A or s.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velorin::core {

enum class Quantity { Plain, Frequency, Current, Time };

// The decimal number that is the whole text (no blanks, no unit), finite; nothing otherwise.
std::optional<double> ParseDecimal(std::string_view text);

struct UnitReading {
    enum class Status {
        Ok,
        NotANumber,  // no number at the start, or nothing that could be a unit after it
        BadSuffix,   // a number followed by a suffix that is not a unit of the quantity
    };
    Status status = Status::NotANumber;
    double value = 0;        // in the base unit
    bool hadSuffix = false;  // false: a bare number, scaled by `bareScale`
};

// Reads "<number>[blanks][suffix]" with blanks allowed around it. A bare number is multiplied
// by `bareScale` (1e6 where an option takes MHz without a unit). A plain quantity takes no
// suffix at all.
UnitReading ReadQuantity(std::string_view text, Quantity quantity, double bareScale = 1.0);

// The suffixes a quantity takes, for messages: "Hz, kHz, MHz or GHz".
std::string UnitNames(Quantity quantity);

}  // namespace velorin::core
