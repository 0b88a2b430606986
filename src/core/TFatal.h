#pragma once
// The fatal error convention of the vector library: a size mismatch or a
// stream failure writes the class name, "::", the message and a line break to the
// standard error stream and ends the program at once (exit status 1, no unwinding).
// No user action reaches it: the system always passes vectors of matching sizes.

#include <string_view>

[[noreturn]] void FatalError(std::string_view className, std::string_view message);
