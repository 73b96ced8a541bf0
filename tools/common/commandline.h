#pragma once
// The command-line conventions every tool of the project follows: -h and --help print the usage on standard
// output and end with status 0; --version prints the tool's name and the project's version and ends with 0;
// an argument that starts with "-" and is not one of the tool's options is refused with a one-line message on
// standard error and status 2, before the tool does anything; "--" ends the options, so a file name that
// starts with "-" can follow it; a lone "-" is an ordinary argument.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace toolcli {

struct Option {
    std::string_view name;    // with its dashes: "--set"
    bool takesValue = false;  // the next argument (or "=value") is its value, whatever it starts with
};

struct Program {
    std::string_view name;   // "quorven-patch"
    std::string_view usage;  // the whole usage text, ending in a newline
};

struct Arguments {
    std::vector<std::string> positional;
    // The options given, in order: name and value (empty for an option without one).
    std::vector<std::pair<std::string, std::string>> options;
};

// Parses argv[1..argc-1]. Returns the status to end with when the program must end at once (help, version,
// an unknown option, an option missing its value), after printing what belongs to it; nullopt when the
// program goes on with what was put into out.
std::optional<int> Parse(int argc, const char* const* argv, const Program& program, std::span<const Option> options,
                         Arguments& out);

// Wrong arguments found after parsing (a missing or extra argument, a bad value): the usage on standard error,
// status 2.
int UsageError(const Program& program);

}  // namespace toolcli
