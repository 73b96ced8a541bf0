#include "document/stagefile.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <system_error>

#include "document/atomicfile.h"
#include "document/edit_flag.h"
#include "document/fileerror.h"
#include "document/fileio.h"

using nlohmann::json;

namespace {

// The keys of the file's top level, in the order the writer puts them.
constexpr std::array<const char*, 12> kKeys = {
    "format",  "version", "stage", "title",    "chips16",           "attributes",
    "chips32", "mapsets", "map",   "palettes", "paletteAnimations", "objects"};

// ------------------------------------------------------------------------------------------------ writing

std::string Numbers(const Byte* values, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i) out += ", ";
        out += std::to_string(values[i]);
    }
    return out;
}

// A list whose items are written by item(i) one per line, indented by indent.
template <typename Item>
void List(std::string& out, int count, const std::string& indent, Item item) {
    out += "[\n";
    for (int i = 0; i < count; ++i) {
        out += indent + "  ";
        item(i);
        out += i + 1 < count ? ",\n" : "\n";
    }
    out += indent + "]";
}

// ------------------------------------------------------------------------------------------------ reading

class Reader {
public:
    explicit Reader(std::string name) : name_(std::move(name)) {}

    [[noreturn]] void Fail(const std::string& where, const std::string& what) const {
        throw StageFileError(name_ + ": " + (where.empty() ? what : where + ": " + what));
    }

    static std::string Shown(const json& v) {
        std::string text = v.dump(-1, ' ', false, json::error_handler_t::replace);
        if (text.size() > 40) text = text.substr(0, 37) + "...";
        return text;
    }

    std::int64_t Integer(const json& v, const std::string& where, std::int64_t lo, std::int64_t hi,
                         const char* range) const {
        if (!v.is_number_integer()) Fail(where, Shown(v) + " is not an integer");
        const bool over = v.is_number_unsigned() ? v.get<std::uint64_t>() > static_cast<std::uint64_t>(hi)
                                                 : (v.get<std::int64_t>() < lo || v.get<std::int64_t>() > hi);
        if (over) Fail(where, Shown(v) + " is not " + range);
        return v.get<std::int64_t>();
    }

    Byte ByteOf(const json& v, const std::string& where) const {
        return static_cast<Byte>(Integer(v, where, 0, 255, "a byte (0-255)"));
    }

    const json& ListOf(const json& v, const std::string& where, std::size_t count) const {
        if (!v.is_array()) Fail(where, "not a list");
        if (v.size() != count) Fail(where, std::to_string(v.size()) + " entries, expected " + std::to_string(count));
        return v;
    }

    // count lists of width bytes into out, entry i's byte j at place(i, j).
    template <typename Place>
    void Rows(const json& v, const std::string& where, int count, int width, Place place) const {
        ListOf(v, where, count);
        for (int i = 0; i < count; ++i) {
            const std::string at = where + "[" + std::to_string(i) + "]";
            ListOf(v[i], at, width);
            for (int j = 0; j < width; ++j) place(i, j) = ByteOf(v[i][j], at + "[" + std::to_string(j) + "]");
        }
    }

    void Bytes(const json& v, const std::string& where, Byte* out, int count) const {
        ListOf(v, where, count);
        for (int i = 0; i < count; ++i) out[i] = ByteOf(v[i], where + "[" + std::to_string(i) + "]");
    }

    // An object with exactly these keys.
    void Keys(const json& v, const std::string& where, const std::vector<std::string>& keys) const {
        if (!v.is_object()) Fail(where, "not an object");
        for (const auto& [key, value] : v.items()) {
            (void)value;
            if (std::find(keys.begin(), keys.end(), key) == keys.end()) Fail(where, "unknown key \"" + key + "\"");
        }
        for (const std::string& key : keys)
            if (!v.contains(key)) Fail(where, "missing \"" + key + "\"");
    }

private:
    std::string name_;
};

}  // namespace

StageFileContent CaptureStage(const StageData& stage, const std::string& title) {
    StageFileContent c;
    c.stage = stage.Stage();
    c.title = title;
    std::copy_n(stage.Chip16x16Tiles(), kChip16x16TilesSize, c.chips16.begin());
    std::copy_n(stage.ChipProperties(), kChipPropertySize, c.attributes.begin());
    std::copy_n(stage.Chip32x32(), kChip32x32Size, c.chips32.begin());
    std::copy_n(stage.MapSets(), kMapSetTableSize, c.mapSets.begin());
    std::copy_n(stage.Map(), kScreenCount, c.map.begin());
    for (int p = 0; p < kPaletteSetCount; ++p) {
        std::copy_n(stage.BGPalette(p), 16, c.palettes[p].begin());
        std::copy_n(stage.PaletteAnime(p), 4, c.paletteAnimations[p].begin());
    }
    for (int s = 0; s < kScreenCount; ++s) {
        const auto& list = stage.ScreenObjects(s);
        c.objects[s].assign(list.begin(), list.end());
    }
    return c;
}

std::string EncodeStageFile(const StageFileContent& c) {
    std::string out = "{\n";
    out += "  \"format\": \"" + std::string(kStageFileFormat) + "\",\n";
    out += "  \"version\": " + std::to_string(kStageFileVersion) + ",\n";
    out += "  \"stage\": " + std::to_string(c.stage) + ",\n";
    out += "  \"title\": " + json(c.title).dump(-1, ' ', false, json::error_handler_t::replace) + ",\n";
    out += "  \"chips16\": ";
    List(out, 256, "  ", [&](int chip) {
        const Byte t[4] = {c.chips16[chip], c.chips16[256 + chip], c.chips16[512 + chip], c.chips16[768 + chip]};
        out += "[" + Numbers(t, 4) + "]";
    });
    // The attributes and the map: one flat list, 16 numbers a line.
    out += ",\n  \"attributes\": ";
    List(out, 16, "  ", [&](int row) { out += Numbers(&c.attributes[16 * row], 16); });
    out += ",\n  \"chips32\": ";
    List(out, 256, "  ", [&](int chip) { out += "[" + Numbers(&c.chips32[4 * chip], 4) + "]"; });
    out += ",\n  \"mapsets\": ";
    List(out, kMapSetCount, "  ", [&](int set) {
        List(out, 8, "    ", [&](int row) { out += "[" + Numbers(&c.mapSets[64 * set + 8 * row], 8) + "]"; });
    });
    out += ",\n  \"map\": ";
    List(out, kScreenCount / 16, "  ", [&](int row) { out += Numbers(&c.map[16 * row], 16); });
    out += ",\n  \"palettes\": ";
    List(out, kPaletteSetCount, "  ", [&](int set) { out += "[" + Numbers(c.palettes[set].data(), 16) + "]"; });
    out += ",\n  \"paletteAnimations\": ";
    List(out, kPaletteSetCount, "  ", [&](int set) { out += "[" + Numbers(c.paletteAnimations[set].data(), 4) + "]"; });
    out += ",\n  \"objects\": ";
    List(out, kScreenCount, "  ", [&](int screen) {
        const auto& list = c.objects[screen];
        if (list.empty()) {
            out += "[]";
            return;
        }
        List(out, static_cast<int>(list.size()), "    ", [&](int i) {
            const ObjectEntry& e = list[i];
            out += "{\"x\": " + std::to_string(e.x) + ", \"y\": " + std::to_string(e.y) +
                   ", \"kind\": " + std::to_string(e.kind) + "}";
        });
    });
    out += "\n}\n";
    return out;
}

StageFileContent DecodeStageFile(std::string_view text, const std::string& name) {
    const Reader r(name);
    if (text.size() > kStageFileMaxBytes) r.Fail("", "larger than 4 MiB");
    json root;
    // A key given twice in one object would silently take the last value: refused.
    std::vector<std::set<std::string>> keys;
    const json::parser_callback_t noDuplicates = [&](int, json::parse_event_t event, json& parsed) {
        if (event == json::parse_event_t::object_start) keys.emplace_back();
        if (event == json::parse_event_t::object_end && !keys.empty()) keys.pop_back();
        if (event == json::parse_event_t::key && !keys.empty() && !keys.back().insert(parsed.get<std::string>()).second)
            r.Fail("", "the key \"" + parsed.get<std::string>() + "\" is given twice");
        return true;
    };
    try {
        root = json::parse(text.begin(), text.end(), noDuplicates);
    } catch (const json::exception& e) {  // a syntax error, or a number too large for any type
        std::string what = e.what();
        if (const auto cut = what.find("] "); cut != std::string::npos) what = what.substr(cut + 2);
        r.Fail("", "not JSON (" + what + ")");
    }
    if (!root.is_object()) r.Fail("", "not a stage file (the top level is not an object)");
    // The format and version first: a file of another kind is reported as such, not by its keys.
    if (!root.contains("format") || !root["format"].is_string() || root["format"] != kStageFileFormat)
        r.Fail("format", "not a stage file (expected \"" + std::string(kStageFileFormat) + "\")");
    if (!root.contains("version") || !root["version"].is_number_integer() || root["version"] != kStageFileVersion)
        r.Fail("version", (root.contains("version") ? Reader::Shown(root["version"]) : std::string("none")) +
                              " is not supported (only " + std::to_string(kStageFileVersion) + ")");
    r.Keys(root, "", std::vector<std::string>(kKeys.begin(), kKeys.end()));

    StageFileContent c;
    c.stage = static_cast<int>(r.Integer(root["stage"], "stage", 0, kStageCount - 1, "a stage number (0-15)"));
    if (!root["title"].is_string()) r.Fail("title", "not a text");
    c.title = root["title"].get<std::string>();
    r.Rows(root["chips16"], "chips16", 256, 4, [&](int chip, int q) -> Byte& { return c.chips16[256 * q + chip]; });
    r.Bytes(root["attributes"], "attributes", c.attributes.data(), kChipPropertySize);
    r.Rows(root["chips32"], "chips32", 256, 4, [&](int chip, int q) -> Byte& { return c.chips32[4 * chip + q]; });
    const json& sets = r.ListOf(root["mapsets"], "mapsets", kMapSetCount);
    for (int s = 0; s < kMapSetCount; ++s)
        r.Rows(sets[s], "mapsets[" + std::to_string(s) + "]", 8, 8,
               [&](int row, int k) -> Byte& { return c.mapSets[64 * s + 8 * row + k]; });
    r.Bytes(root["map"], "map", c.map.data(), kScreenCount);
    r.Rows(root["palettes"], "palettes", kPaletteSetCount, 16, [&](int s, int e) -> Byte& { return c.palettes[s][e]; });
    r.Rows(root["paletteAnimations"], "paletteAnimations", kPaletteSetCount, 4,
           [&](int s, int j) -> Byte& { return c.paletteAnimations[s][j]; });

    const json& screens = r.ListOf(root["objects"], "objects", kScreenCount);
    std::size_t total = 0;
    for (const json& list : screens) total += list.is_array() ? list.size() : 0;
    if (total > kObjectSlots)
        r.Fail("objects", std::to_string(total) + " objects in all, more than the " + std::to_string(kObjectSlots) +
                              " the image holds");
    for (int s = 0; s < kScreenCount; ++s) {
        const std::string at = "objects[" + std::to_string(s) + "]";
        if (!screens[s].is_array()) r.Fail(at, "not a list");
        for (std::size_t i = 0; i < screens[s].size(); ++i) {
            const json& o = screens[s][i];
            const std::string where = at + "[" + std::to_string(i) + "]";
            r.Keys(o, where, {"x", "y", "kind"});
            c.objects[s].push_back(ObjectEntry{r.ByteOf(o["x"], where + ".x"), r.ByteOf(o["y"], where + ".y"),
                                               r.ByteOf(o["kind"], where + ".kind")});
        }
    }
    return c;
}

StageFileContent ReadStageFile(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw FileError(path, "is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError(path, "cannot open the file");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > static_cast<std::streamoff>(kStageFileMaxBytes)) throw StageFileError(name + ": larger than 4 MiB");
    in.seekg(0, std::ios::beg);
    std::string text;
    // Read at most one byte past the limit, whatever the size said (a file may grow while it is read).
    text.resize(kStageFileMaxBytes + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) throw FileError(path, "cannot read the file");
    text.resize(static_cast<std::size_t>(in.gcount()));
    return DecodeStageFile(text, name);
}

void WriteStageFile(const std::filesystem::path& path, const StageFileContent& content) {
    const std::string text = EncodeStageFile(content);
    WriteFileAtomically(path, text.data(), text.size());
}

// ------------------------------------------------------------------------------------------------ import

bool StageImportPlan::Any() const {
    return std::find(changes.begin(), changes.end(), true) != changes.end();
}

bool StageImportPlan::ChangesSharedTables() const {
    return Changes(StagePart::Chips16) || Changes(StagePart::Attributes) || Changes(StagePart::Chips32) ||
           Changes(StagePart::MapSets);
}

StageImportPlan PlanStageImport(const StageData& stage, const StageFileContent& content) {
    const StageFileContent now = CaptureStage(stage, content.title);
    StageImportPlan plan;
    auto set = [&](StagePart part, bool differs) { plan.changes[static_cast<int>(part)] = differs; };
    set(StagePart::Chips16, now.chips16 != content.chips16);
    set(StagePart::Attributes, now.attributes != content.attributes);
    set(StagePart::Chips32, now.chips32 != content.chips32);
    set(StagePart::MapSets, now.mapSets != content.mapSets);
    set(StagePart::Map, now.map != content.map);
    set(StagePart::Palettes, now.palettes != content.palettes);
    set(StagePart::PaletteAnimations, now.paletteAnimations != content.paletteAnimations);
    bool objects = false;
    for (int s = 0; s < kScreenCount && !objects; ++s)
        objects = !std::equal(
            now.objects[s].begin(), now.objects[s].end(), content.objects[s].begin(), content.objects[s].end(),
            [](const ObjectEntry& a, const ObjectEntry& b) { return a.x == b.x && a.y == b.y && a.kind == b.kind; });
    set(StagePart::Objects, objects);
    return plan;
}

std::vector<int> StagesSharingTables(const RomImageData& rom, int stage) {
    std::vector<int> others;
    if (stage < 0 || stage >= kStageCount) return others;
    for (int s = 0; s < kStageCount; ++s)
        if (s != stage && rom.StageAt(s).SharesTablesWith(rom.StageAt(stage))) others.push_back(s);
    return others;
}

void ApplyStageImport(RomImageData& rom, EditFlagManagement& flags, int stage, const StageFileContent& c,
                      const StageImportPlan& plan) {
    if (stage < 0 || stage >= kStageCount || !plan.Any()) return;
    StageData& st = rom.StageAt(stage);
    // The edit operations change one byte each; no step is recorded, the history is cleared below.
    const bool history = st.HistoryEnabled();
    st.SetHistoryEnabled(false);
    auto mark = [&](ModifiedCategory category) { flags.SetModified(category, stage, true); };
    if (plan.Changes(StagePart::Chips16) || plan.Changes(StagePart::Attributes)) {
        for (int i = 0; i < kChip16x16TilesSize; ++i) st.SetChip16x16Tile(i, c.chips16[i]);
        for (int i = 0; i < kChipPropertySize; ++i) st.SetChipProperty(i, c.attributes[i]);
        mark(ModifiedCategory::Chip16x16);
    }
    if (plan.Changes(StagePart::Chips32)) {
        for (int i = 0; i < kChip32x32Size; ++i) st.SetChip32x32Byte(i, c.chips32[i]);
        mark(ModifiedCategory::Chip32x32);
    }
    if (plan.Changes(StagePart::MapSets)) {
        for (int i = 0; i < kMapSetTableSize; ++i) st.SetMapSetByte(i, c.mapSets[i]);
        mark(ModifiedCategory::MapSet);
    }
    if (plan.Changes(StagePart::Map)) {
        for (int i = 0; i < kScreenCount; ++i) st.SetMapEntry(i, c.map[i]);
        mark(ModifiedCategory::Map);
    }
    if (plan.Changes(StagePart::Palettes) || plan.Changes(StagePart::PaletteAnimations)) {
        for (int p = 0; p < kPaletteSetCount; ++p) {
            for (int e = 0; e < 16; ++e) st.SetPaletteByte(16 * p + e, c.palettes[p][e]);
            for (int j = 0; j < 4; ++j) st.SetPaletteAnimeByte(4 * p + j, c.paletteAnimations[p][j]);
        }
        mark(ModifiedCategory::Palette);
    }
    if (plan.Changes(StagePart::Objects)) {
        for (int s = 0; s < kScreenCount; ++s) st.ClearScreenObjects(s);
        for (int s = 0; s < kScreenCount; ++s)
            for (const ObjectEntry& e : c.objects[s]) st.AppendObject(s, e.x, e.y, e.kind);
        mark(ModifiedCategory::Object);
    }
    st.SetHistoryEnabled(history);
    st.ClearHistory();
    if (plan.ChangesSharedTables())
        for (int other : StagesSharingTables(rom, stage)) rom.StageAt(other).ClearHistory();
}
