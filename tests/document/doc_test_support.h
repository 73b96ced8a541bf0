#pragma once
// Helpers shared by the document tests: a scratch folder, image builders, whole-file read and write.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/editdata.h"
#include "document/fileio.h"

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "quorven-doc-XXXXXX").string();
        char* made = ::mkdtemp(tmpl.data());
        if (!made) throw std::runtime_error("mkdtemp failed");
        path_ = made;
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    // Names of everything in the folder, for checking that no temporary file was left behind.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

inline std::vector<Byte> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<Byte>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteAll(const fs::path& p, const std::vector<Byte>& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << text;
}

// size bytes of deterministic noise; with magic, the first four are the iNES header magic.
inline std::vector<Byte> NoiseImage(std::size_t size, std::uint32_t seed, bool magic = true) {
    std::vector<Byte> img(size);
    std::mt19937 rng(seed);
    for (auto& b : img) b = static_cast<Byte>(rng() & 0xFF);
    if (magic && size >= 4) {
        img[0] = 0x4E;
        img[1] = 0x45;
        img[2] = 0x53;
        img[3] = 0x1A;
    }
    return img;
}

class RecordingSink : public ModifiedMarkerSink {
public:
    void ShowModifiedMarker(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

inline std::string RealDataDir() {
    return QUORVEN_REALDATA_DIR;
}

// A document on its own scratch folder, with an INI file of the given text.
struct Doc {
    explicit Doc(const std::string& iniText = "") {
        WriteText(dir / "quorveneditor.ini", iniText);
        ini = std::make_unique<TMyMemIniFile>(dir / "quorveneditor.ini");
        rom = std::make_unique<RomImageData>(flags, *ini);
    }
    fs::path Put(const std::string& name, const std::vector<Byte>& bytes) const {
        WriteAll(dir / name, bytes);
        return dir / name;
    }
    bool AnyHistory() const {
        for (int s = 0; s < kStageCount; ++s)
            if (rom->StageAt(s).CanUndo() || rom->StageAt(s).CanRedo()) return true;
        return false;
    }
    void EditEveryStage() {
        for (int s = 0; s < kStageCount; ++s) {
            StageData& st = rom->StageAt(s);
            st.SetMapEntry(0, static_cast<Byte>(st.Map()[0] ^ 1));
            st.SetMapEntry(0, static_cast<Byte>(st.Map()[0] ^ 1));
            st.Undo();
        }
    }
    std::vector<Byte> Buffer() const {
        return std::vector<Byte>(rom->ImageBytes(), rom->ImageBytes() + kImageCapacity);
    }

    TempDir dir;
    RecordingSink sink;
    EditFlagManagement flags{&sink};
    std::unique_ptr<TMyMemIniFile> ini;
    std::unique_ptr<RomImageData> rom;
};
