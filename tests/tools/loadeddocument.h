#pragma once
// What the tests of the stage pictures share: the shipped colour table, and a document holding an image loaded
// from bytes (through a temporary file), with every table address at its default.

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "graphics/fcpalette.h"

namespace testdoc {

inline const FcPaletteData& Palette() {
    static const FcPaletteData palette(QUORVEN_DATA_DIR "/fcpalette.pal");
    return palette;
}

struct Doc {
    TMyMemIniFile ini{std::filesystem::temp_directory_path() / "quorven-no-such-folder" / "quorveneditor.ini"};
    EditFlagManagement flags{nullptr};
    RomImageData rom{flags, ini};
    LoadResult Load(const std::vector<std::uint8_t>& bytes) {
        const auto path =
            std::filesystem::temp_directory_path() / ("quorven-testdoc-" + std::to_string(::getpid()) + ".nes");
        {
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
        const LoadResult r = rom.LoadFromFile(path);
        std::filesystem::remove(path);
        return r;
    }
};

}  // namespace testdoc
