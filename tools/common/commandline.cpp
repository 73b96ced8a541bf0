#include "commandline.h"

#include <cstdio>

#ifndef QUORVEN_VERSION
#define QUORVEN_VERSION "unknown"
#endif

namespace toolcli {

namespace {
constexpr const char* kCommonOptions =
    "  -h, --help  this text;  --version  the name and version;  --  the end of the options (a file\n"
    "  name that starts with \"-\" follows it)\n";

const Option* Find(std::span<const Option> options, std::string_view name) {
    for (const Option& o : options)
        if (o.name == name) return &o;
    return nullptr;
}

int Refuse(const Program& program, const char* what, std::string_view arg) {
    std::fprintf(stderr, "%.*s: %s '%.*s' (see --help)\n", int(program.name.size()), program.name.data(), what,
                 int(arg.size()), arg.data());
    return 2;
}
}  // namespace

std::optional<int> Parse(int argc, const char* const* argv, const Program& program, std::span<const Option> options,
                         Arguments& out) {
    out = Arguments{};
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] ? argv[i] : "";
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            out.positional.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            std::fwrite(program.usage.data(), 1, program.usage.size(), stdout);
            std::fputs(kCommonOptions, stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("%.*s %s\n", int(program.name.size()), program.name.data(), QUORVEN_VERSION);
            return 0;
        } else {
            const std::size_t equals = arg.find('=');
            const std::string_view name = arg.substr(0, equals);
            const Option* option = Find(options, name);
            if (!option || (equals != std::string_view::npos && !option->takesValue))
                return Refuse(program, "unknown option", arg);
            if (!option->takesValue)
                out.options.emplace_back(name, "");
            else if (equals != std::string_view::npos)
                out.options.emplace_back(name, arg.substr(equals + 1));
            else if (i + 1 < argc)
                out.options.emplace_back(name, argv[++i]);
            else
                return Refuse(program, "missing the value of option", arg);
        }
    }
    return std::nullopt;
}

int UsageError(const Program& program) {
    std::fwrite(program.usage.data(), 1, program.usage.size(), stderr);
    return 2;
}

}  // namespace toolcli
