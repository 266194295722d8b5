#pragma once
// The command line, read before the toolkit starts: the program takes no
// arguments, but answers for its help and its version without a display.

#include <string>

namespace tallaro {

struct CommandLineAnswer {
    bool stop = false;  // end here with `status`, before any window
    int status = 0;
    std::string out;  // for standard output
    std::string err;  // for standard error, one line
};

// Status of a wrong option or an argument the program does not take.
inline constexpr int k_usage_status = 2;

// -h/--help and -v/--version answer on standard output (status 0). Any
// other option, or any argument, is wrong wherever it stands (status 2);
// otherwise the first of help and version decides. No arguments, or only a
// session manager's -session ID (left to Qt): go on.
CommandLineAnswer read_command_line(int argc, const char* const* argv);

}  // namespace tallaro
