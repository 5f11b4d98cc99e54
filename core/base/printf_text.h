// printf-style formatting into a std::string, checked by the compiler like printf itself.
#pragma once

#include <string>

namespace velorin::core {

__attribute__((format(printf, 1, 2))) std::string Printf(const char *format, ...);

}  // namespace velorin::core
