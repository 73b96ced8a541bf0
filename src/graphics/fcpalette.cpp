// The 64-colour master table read from the 192-byte palette file.

#include <fstream>
#include <system_error>

#include "graphics/graphics.h"
#include "graphics/uitext.h"

QRgb PackedToQRgb(PackedColor c) {
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

namespace {
PackedColor PackRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return PackedColor(r) + PackedColor(g) * 256u + PackedColor(b) * 65536u;
}
}  // namespace

FcPaletteData::FcPaletteData(const std::filesystem::path& fileName) : fileName_(fileName) {
    std::error_code ec;
    // A directory or anything else that is not a readable file counts as "cannot be read".
    if (!std::filesystem::is_regular_file(fileName, ec)) {
        failure_ = Failure::CannotRead;
        return;
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        failure_ = Failure::CannotRead;
        return;
    }
    const auto size = std::filesystem::file_size(fileName, ec);
    if (ec) {
        failure_ = Failure::CannotRead;
        return;
    }
    if (size != raw_.size()) {
        failure_ = Failure::BadSize;
        return;
    }
    in.read(reinterpret_cast<char*>(raw_.data()), std::streamsize(raw_.size()));
    if (in.gcount() != std::streamsize(raw_.size())) {
        raw_ = {};
        failure_ = Failure::CannotRead;
        return;
    }
    for (int n = 0; n < 64; ++n) colors_[n] = PackRgb(raw_[3 * n], raw_[3 * n + 1], raw_[3 * n + 2]);
}

FcPaletteData FcPaletteData::FromBytes(const std::array<std::uint8_t, 192>& bytes) {
    // An empty name reads nothing; the table then comes from the bytes given.
    FcPaletteData p{std::filesystem::path{}};
    p.fileName_ = kFileName;
    p.failure_ = Failure::None;
    p.raw_ = bytes;
    for (int n = 0; n < 64; ++n) p.colors_[n] = PackRgb(bytes[3 * n], bytes[3 * n + 1], bytes[3 * n + 2]);
    return p;
}

std::string FcPaletteData::FailureMessage() const {
    const char* text = nullptr;
    switch (failure_) {
    case Failure::None: return {};
    case Failure::CannotRead: text = kCannotReadText; break;
    case Failure::BadSize: text = kBadSizeText; break;
    }
    const auto name = fileName_.u8string();
    return Tr("ColourTable", text).arg(QString::fromUtf8(std::string(name.begin(), name.end()))).toStdString();
}

PackedColor FcPaletteData::GetColor(int number) const {
    // Only the low six bits select a colour, as on the console's colour bus: 0x40-0xFF (and anything
    // else a malformed palette byte may hold) fold back onto 0x00-0x3F.
    return colors_[std::size_t(number & 0x3F)];
}
