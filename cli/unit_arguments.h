// Frequency and current options: a number with an optional unit in any case ("156.25",
// "156.25MHz", "0.15625GHz", "224uA", "0.224mA"). The transform hands CLI11 the plain number in
// the option's own unit, the one a bare number is in; anything else is a usage error naming the
// option and what it takes.
#pragma once

#include <CLI/CLI.hpp>

namespace velorin::cli {

// unitHz: the size of the option's unit in Hz (1e6 for MHz); unitName: "MHz".
CLI::Validator FrequencyIn(double unitHz, const char *unitName);
// unitA: the size of the option's unit in A (1 for amperes); unitName: "A".
CLI::Validator CurrentIn(double unitA, const char *unitName);

}  // namespace velorin::cli
