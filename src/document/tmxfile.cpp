#include "document/tmxfile.h"

#include <cstdio>

#include "document/editdata.h"

namespace {

// Text for an XML attribute value; control characters (not allowed in XML) are dropped.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if (static_cast<unsigned char>(ch) >= 0x20) out += ch;
        }
    }
    return out;
}

std::string Hex2(int value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

}  // namespace

std::string TmxTilesetFileName(const std::string& mapFileName) {
    std::string base = mapFileName;
    const std::size_t slash = base.find_last_of('/');
    const std::size_t dot = base.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.resize(dot);
    return base + "-chips32.png";
}

std::string EncodeTmxMap(const StageData& stage, const TmxMapInfo& info) {
    int objectCount = 0;
    for (int s = 0; s < kScreenCount; ++s) objectCount += stage.ScreenObjectCount(s);
    const std::string size = std::to_string(kTmxTileSize);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out +=
        "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\"" +
        std::to_string(kTmxWidth) + "\" height=\"" + std::to_string(kTmxHeight) + "\" tilewidth=\"" + size +
        "\" tileheight=\"" + size + "\" infinite=\"0\" nextlayerid=\"3\" nextobjectid=\"" +
        std::to_string(objectCount + 1) + "\">\n";
    out += " <properties>\n";
    out += "  <property name=\"stage\" type=\"int\" value=\"" + std::to_string(info.stage) + "\"/>\n";
    out += "  <property name=\"title\" value=\"" + Escaped(info.title) + "\"/>\n";
    out += " </properties>\n";
    out += " <tileset firstgid=\"1\" name=\"chips32\" tilewidth=\"" + size + "\" tileheight=\"" + size +
           "\" tilecount=\"256\" columns=\"16\">\n";
    out += "  <image source=\"" + Escaped(info.tilesetImage) + "\" width=\"512\" height=\"512\"/>\n";
    out += " </tileset>\n";
    out += " <layer id=\"1\" name=\"map\" width=\"" + std::to_string(kTmxWidth) + "\" height=\"" +
           std::to_string(kTmxHeight) + "\">\n";
    out += "  <data encoding=\"csv\">\n";
    const Byte* map = stage.Map();
    for (int row = 0; row < kTmxHeight; ++row) {
        for (int column = 0; column < kTmxWidth; ++column) {
            const int mapSet = map[column / 8];
            const int id = mapSet < kMapSetCount ? stage.MapSet(mapSet)[8 * row + column % 8] + 1 : 0;
            out += std::to_string(id);
            if (row + 1 < kTmxHeight || column + 1 < kTmxWidth) out += ',';
        }
        out += '\n';
    }
    out += "</data>\n";
    out += " </layer>\n";
    out += " <objectgroup id=\"2\" name=\"objects\">\n";
    int id = 1;
    for (int s = 0; s < kScreenCount; ++s)
        for (const ObjectEntry& e : stage.ScreenObjects(s)) {
            const int kind = e.kind & 0xFF;
            const std::string name = kind < static_cast<int>(info.kindNames.size()) ? info.kindNames[kind] : Hex2(kind);
            out += "  <object id=\"" + std::to_string(id++) + "\" name=\"" + Escaped(name) + "\" type=\"" + Hex2(kind) +
                   "\" x=\"" + std::to_string(256 * s + e.x) + "\" y=\"" + std::to_string(e.y) +
                   "\">\n   <point/>\n  </object>\n";
        }
    out += " </objectgroup>\n";
    out += "</map>\n";
    return out;
}
