#include "app/command_line.h"

#include <string_view>

namespace tallaro {

namespace {

constexpr std::string_view k_help =
    "Usage: tallaro [OPTION]\n"
    "A counter-side cash tally: enter a customer's articles one by one, watch the\n"
    "sales log and the running total, then settle the bill with the amount\n"
    "received and the change. The windows need an X11 display (DISPLAY).\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "  -v, --version  print the version and exit\n"
    "\n"
    "Exit status: 0 when the program ends normally, 1 without a display,\n"
    "2 for a wrong option, 255 after a fatal error.\n"
    "See tallaro(1) for more.\n";

constexpr std::string_view k_version =
    "tallaro " TALLARO_VERSION "\n"
    "Copyright (C) 2017-2026 The Tallaro developers\n"
    "License: MIT <https://opensource.org/licenses/MIT>\n";

enum class Ask { nothing, help, version };

CommandLineAnswer wrong(std::string_view what, std::string_view arg) {
    CommandLineAnswer a;
    a.stop = true;
    a.status = k_usage_status;
    a.err = "tallaro: ";
    a.err += what;
    a.err += " '";
    a.err += arg;
    a.err += "' (try 'tallaro --help')\n";
    return a;
}

}  // namespace

CommandLineAnswer read_command_line(int argc, const char* const* argv) {
    Ask first = Ask::nothing;
    auto ask = [&first](Ask a) {
        if (first == Ask::nothing) first = a;
    };
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (options_ended || arg.size() < 2 || arg[0] != '-') return wrong("unexpected argument", arg);
        if (arg == "--") {
            options_ended = true;
        } else if (arg == "-session" || arg == "--session") {
            // A session manager restarts the program with the session's id,
            // which Qt reads; nothing of the program's is kept to restore.
            if (i + 1 == argc) return wrong("a value is needed for option", arg);
            ++i;
        } else if (arg == "--help") {
            ask(Ask::help);
        } else if (arg == "--version") {
            ask(Ask::version);
        } else if (arg.starts_with("--")) {
            const std::string_view name = arg.substr(0, arg.find('='));
            if (name == "--help" || name == "--version") return wrong("no value allowed for option", name);
            return wrong("unknown option", arg);
        } else {
            // Short options may be grouped: -hv.
            for (char letter : arg.substr(1)) {
                if (letter == 'h') {
                    ask(Ask::help);
                } else if (letter == 'v') {
                    ask(Ask::version);
                } else {
                    return wrong("unknown option", std::string{'-', letter});
                }
            }
        }
    }
    CommandLineAnswer a;
    if (first == Ask::help) a.out = k_help;
    if (first == Ask::version) a.out = k_version;
    a.stop = first != Ask::nothing;
    return a;
}

}  // namespace tallaro
