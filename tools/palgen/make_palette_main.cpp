// quorven-make-palette OUT.pal: writes the 192-byte master colour table that ships as data/fcpalette.pal.
#include <cstdio>
#include <fstream>

#include "ntscpalette.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.pal\n", argv[0]);
        return 2;
    }
    const auto bytes = ComputeNtscPalette();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
