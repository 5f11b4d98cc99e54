// Numbers with unit suffixes, as the command line and the SCPI server read them.
#include "core/base/unit_value.h"

#include <gtest/gtest.h>

namespace velorin::core {
namespace {

using Status = UnitReading::Status;

struct Case {
    const char *text;
    Quantity quantity;
    double bareScale;
    Status status;
    double value;
};

TEST(UnitValueTest, ReadsEverySuffixSpacingAndNotation) {
    const Case cases[] = {
        // Bare numbers in every decimal form, scaled by the caller's unit.
        {"30", Quantity::Frequency, 1.0, Status::Ok, 30.0},
        {"156.25", Quantity::Frequency, 1e6, Status::Ok, 156.25e6},
        {"+.5", Quantity::Plain, 1.0, Status::Ok, 0.5},
        {"-5.", Quantity::Plain, 1.0, Status::Ok, -5.0},
        {"3e7", Quantity::Frequency, 1.0, Status::Ok, 3e7},
        {"  30E+6HZ  ", Quantity::Frequency, 1.0, Status::Ok, 30e6},
        // Frequency suffixes, any case, with or without a blank.
        {"30MHZ", Quantity::Frequency, 1.0, Status::Ok, 30e6},
        {"30 MHZ", Quantity::Frequency, 1.0, Status::Ok, 30e6},
        {"30\tmhz", Quantity::Frequency, 1.0, Status::Ok, 30e6},
        {"156.25MHz", Quantity::Frequency, 1e6, Status::Ok, 156.25e6},
        {"30MAHZ", Quantity::Frequency, 1.0, Status::Ok, 30e6},
        {"400KHZ", Quantity::Frequency, 1.0, Status::Ok, 400e3},
        {"156250kHz", Quantity::Frequency, 1e6, Status::Ok, 156.25e6},
        {"0.15625GHz", Quantity::Frequency, 1e6, Status::Ok, 156.25e6},
        {"156250000Hz", Quantity::Frequency, 1e6, Status::Ok, 156.25e6},
        // Current suffixes: MA is milli for a current.
        {"224UA", Quantity::Current, 1.0, Status::Ok, 224e-6},
        {"224uA", Quantity::Current, 1.0, Status::Ok, 224e-6},
        {"224\xC2\xB5"
         "A",
         Quantity::Current, 1.0, Status::Ok, 224e-6},
        {"0.224mA", Quantity::Current, 1.0, Status::Ok, 224e-6},
        {"224e-6", Quantity::Current, 1.0, Status::Ok, 224e-6},
        {"1 A", Quantity::Current, 1.0, Status::Ok, 1.0},
        {"0.7mA", Quantity::Current, 1.0, Status::Ok, 0.7e-3},
        {"50 MS", Quantity::Time, 1.0, Status::Ok, 0.05},
        // A unit of another quantity, or a word that is no unit at all.
        {"156.25MHz", Quantity::Current, 1.0, Status::BadSuffix, 0},
        {"224UA", Quantity::Frequency, 1.0, Status::BadSuffix, 0},
        {"30XYZ", Quantity::Frequency, 1.0, Status::BadSuffix, 0},
        {"3EHZ", Quantity::Frequency, 1.0, Status::BadSuffix, 0},
        {"5HZ", Quantity::Plain, 1.0, Status::BadSuffix, 0},
        // No number, or something after it that cannot be a suffix.
        {"abc", Quantity::Frequency, 1.0, Status::NotANumber, 0},
        {"", Quantity::Frequency, 1.0, Status::NotANumber, 0},
        {".", Quantity::Plain, 1.0, Status::NotANumber, 0},
        {"30MHz!", Quantity::Frequency, 1.0, Status::NotANumber, 0},
        {"3 0", Quantity::Frequency, 1.0, Status::NotANumber, 0},
        {"30 MHZ HZ", Quantity::Frequency, 1.0, Status::NotANumber, 0},
        {"1e999", Quantity::Plain, 1.0, Status::NotANumber, 0},
    };
    for (const Case &c : cases) {
        const UnitReading reading = ReadQuantity(c.text, c.quantity, c.bareScale);
        EXPECT_EQ(reading.status, c.status) << c.text;
        if (c.status == Status::Ok) {
            EXPECT_DOUBLE_EQ(reading.value, c.value) << c.text;
        }
    }
    // Divided, not multiplied by an inexact 1e-6: the nearest double, not one off it.
    EXPECT_EQ(ReadQuantity("2.5uA", Quantity::Current).value, 2.5e-6);
}

}  // namespace
}  // namespace velorin::core
