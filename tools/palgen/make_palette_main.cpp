// quorven-make-palette OUT.pal: writes the 192-byte master colour table that ships as data/fcpalette.pal.
#include <cstdio>
#include <fstream>

#include "commandline.h"
#include "ntscpalette.h"

int main(int argc, char** argv) {
    const toolcli::Program program{"quorven-make-palette",
                                   "usage: quorven-make-palette OUT.pal\n"
                                   "  writes the 64-colour table (192 bytes) the editor reads as fcpalette.pal.\n"};
    toolcli::Arguments args;
    if (const auto status = toolcli::Parse(argc, argv, program, {}, args)) return *status;
    if (args.positional.size() != 1) return toolcli::UsageError(program);
    const char* outName = args.positional[0].c_str();
    const auto bytes = ComputeNtscPalette();
    std::ofstream out(outName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", outName);
        return 1;
    }
    return 0;
}
