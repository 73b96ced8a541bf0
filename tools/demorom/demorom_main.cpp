// quorven-demo-rom OUT.nes: writes the demo ROM image.
#include <cstdio>
#include <exception>
#include <fstream>

#include "commandline.h"
#include "demorom.h"

int main(int argc, char** argv) {
    const toolcli::Program program{"quorven-demo-rom",
                                   "usage: quorven-demo-rom OUT.nes\n"
                                   "  writes the demo ROM image (512 KiB, iNES) to OUT.nes.\n"};
    toolcli::Arguments args;
    if (const auto status = toolcli::Parse(argc, argv, program, {}, args)) return *status;
    if (args.positional.size() != 1) return toolcli::UsageError(program);
    const char* outName = args.positional[0].c_str();
    try {
        const auto image = BuildDemoRom();
        std::ofstream out(outName, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", outName);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
