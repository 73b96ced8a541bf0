#pragma once
// BgBank: the 256 background tiles a stage has loaded at a point of play, with the report of the loads.

#include <QString>
#include <array>

#include "document/editdata.h"

class RomImageData;

// The 256 background tiles a stage has loaded at a point of play.
class BgBank {
public:
    static constexpr int kSize = 4096;
    struct Report {
        QString initialSet = "00", initialAddress = "-----";
        QString scrollSet = "00", scrollAddress = "-----";
    };

    explicit BgBank(const RomImageData& rom);
    // loadPoint: 0 start, 1 mid-point 1, 2 mid-point 2; scroll 0 to 15.
    void Assemble(int stage, int loadPoint, int scroll);
    const Byte* Bytes() const { return bank_.data(); }
    const Report& LastReport() const { return report_; }

private:
    const RomImageData& rom_;
    std::array<Byte, kSize> bank_{};
    Report report_;
};
