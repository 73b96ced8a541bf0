#pragma once
// Stage data model: working copies of one stage's tables, their edit operations and the undo history.

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "document/address.h"

using Byte = std::uint8_t;

constexpr int kChip16x16TilesSize = 1024;
constexpr int kChipPropertySize = 256;
constexpr int kChip32x32Size = 1024;
constexpr int kMapSetTableSize = 2048;
constexpr int kMapSetSize = 64;
constexpr int kMapSetCount = 32;
constexpr int kScreenCount = 48;
constexpr int kPaletteSetCount = 7;
constexpr int kPaletteRecordStride = 20;
constexpr int kObjectSlots = 128;
constexpr int kMaxCreatedObjects = 127;
constexpr Byte kObjectEndMarker = 0xFF;
constexpr int kUndoEmpty = 14;  // what Undo/Redo return when their stack is empty

// The image buffer: 2 MiB plus 64 bytes, offsets are file offsets (header included).
// Table addresses come from the user's INI file and can be anything (negative, huge): every access of the
// stage tables to the buffer is checked against kImageCapacity; bytes outside read as 0, writes outside are
// dropped.
constexpr std::int32_t kImageCapacity = 0x200040;

enum UndoKind : Byte {
    kUndoChip16x16Tile = 0,
    kUndoChipProperty = 1,
    kUndoChip16x16Paste = 2,
    kUndoChip32x32Byte = 4,
    kUndoChip32x32Paste = 5,
    kUndoMapSetByte = 6,
    kUndoMapSetPaste = 7,
    kUndoMapSetGridEdit = 8,
    kUndoMapEntry = 9,
    kUndoPaletteByte = 10,
    kUndoPaletteAnimeByte = 11,
};

// One undo or redo step: the bytes an edit replaced.
struct UndoData {
    Byte kind = 0;
    std::int32_t index = 0;
    Byte value = 0;           // single-byte kinds
    std::vector<Byte> bytes;  // block kinds (5, 4 or 64 bytes)
};

// Menu text of an undo kind (UTF-8), empty for unknown kinds.
const char* UndoKindDescription(int kind);

struct ObjectEntry {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t kind = 0;
};

using SharedTable = std::shared_ptr<std::vector<Byte>>;

class StageData {
public:
    // image points at the kImageCapacity-byte image buffer owned by the ROM image object.
    StageData(int stage, Byte* image, const AddressData& addresses);

    int Stage() const { return stage_; }
    // The ROM image object reads each new image into a second buffer and then swaps the two.
    void RebindImage(Byte* image) { image_ = image; }

    // Bytes of the image that a table occupies from its address (palette tables span their 20-byte records).
    static std::int32_t TableExtent(StageTable table);

    // Sharing: make this stage use other's four shareable arrays (the very same arrays).
    void ShareTablesWith(const StageData& other);

    // --- reading from the image (replace the working copy) ---
    void ReadChip16x16Tiles();
    void ReadChipProperties();
    void ReadChip32x32();
    void ReadMapSets();
    void ReadMap();
    void ReadBGPalettes();
    void ReadPaletteAnime();
    void ReadObjects();
    void ReadAllTables();  // clears the history first

    // --- writing into the image (save only) ---
    void WriteChip16x16Tiles() const;
    void WriteChipProperties() const;
    void WriteChip32x32() const;
    void WriteMapSets() const;
    void WriteMap() const;
    void WriteBGPalettes() const;
    void WritePaletteAnime() const;
    void WriteObjects();  // also refreshes the four object arrays

    // --- read access to the working copies ---
    const Byte* Chip16x16Tiles() const { return chip16_->data(); }    // 1024
    const Byte* ChipProperties() const { return chipProp_->data(); }  // 256
    const Byte* Chip32x32() const { return chip32_->data(); }         // 1024
    const Byte* MapSets() const { return mapSets_->data(); }          // 2048
    const Byte* MapSet(int set) const { return mapSets_->data() + kMapSetSize * set; }
    Byte* MapSetsForDirectWrite() { return mapSets_->data(); }                     // duplicate-chip replacement only
    const Byte* Map() const { return map_.data(); }                                // 48
    const Byte* BGPalette(int set) const { return palettes_[set].data(); }         // 16
    const Byte* PaletteAnime(int set) const { return paletteAnime_[set].data(); }  // 4
    bool SharesTablesWith(const StageData& other) const { return chip16_ == other.chip16_; }

    // --- edits (return whether the table changed; record one undo step when the history is on) ---
    // An index outside the table (or a block that would run past its end) changes nothing and returns false.
    bool SetChip16x16Tile(int index, Byte tile);
    bool PasteChip16x16(int chip, const std::array<Byte, 5>& bytes);
    bool SetChipProperty(int chip, Byte attribute);
    bool SetChip32x32Byte(int index, Byte chip16);
    bool PasteChip32x32(int index, const std::array<Byte, 4>& bytes);
    bool SetMapSetByte(int index, Byte chip32);
    bool PasteMapSet(int index, const std::array<Byte, 64>& bytes);
    bool GridEditMapSet(int index, const std::array<Byte, 64>& bytes);
    bool SetMapEntry(int screen, Byte mapSet);
    bool SetPaletteByte(int index, Byte colour);
    bool SetPaletteAnimeByte(int index, Byte animation);

    // --- objects (no undo) ---
    // Returns nullptr (and adds nothing) for a screen outside 0 to 47 or when the stage already holds
    // kObjectSlots objects, the most the image's object arrays can take.
    ObjectEntry* AppendObject(int screen, int x, int y, int kind);
    int ObjectTotal() const;
    int ScreenObjectCount(int screen) const;
    int ObjectNumber(const ObjectEntry* entry, int screen) const;  // -1 when not in the list
    void RemoveObject(const ObjectEntry* entry, int screen);
    ObjectEntry* LastObject(int screen);  // nullptr for an empty list
    void SortScreenObjects(int screen);   // stable, by X ascending
    void ClearScreenObjects(int screen);
    std::list<ObjectEntry>& ScreenObjects(int screen) { return screens_[screen]; }
    const std::list<ObjectEntry>& ScreenObjects(int screen) const { return screens_[screen]; }
    // The image's object arrays as last read (and as encoded by the last WriteObjects).
    const std::array<std::int32_t, kObjectSlots>& ObjectScreenArray() const { return objScreen_; }

    // --- undo history ---
    void SetHistoryEnabled(bool enabled) { historyEnabled_ = enabled; }
    bool HistoryEnabled() const { return historyEnabled_; }
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    int Undo();  // returns the kind, kUndoEmpty when empty
    int Redo();
    const char* UndoDescription() const;
    const char* RedoDescription() const;
    void ClearHistory();
    std::size_t UndoDepth() const { return undo_.size(); }
    std::size_t RedoDepth() const { return redo_.size(); }
    // Counts every change of the two stacks (a record, an undo, a redo, a clear): equal counts, same history.
    std::uint64_t HistoryRevision() const { return historyRevision_; }
    // The records themselves: undo oldest first (its last is the next undo), redo with the next redo last.
    const std::vector<UndoData>& UndoRecords() const { return undo_; }
    const std::vector<UndoData>& RedoRecords() const { return redo_; }

private:
    void Record(UndoData record);
    int Step(std::vector<UndoData>& from, std::vector<UndoData>& to);
    Byte* RecordByte(int kind, std::int32_t index, int k);  // k-th byte a record of that kind covers
    UndoData Capture(int kind, std::int32_t index);
    void ReadTable(StageTable table, Byte* dst, int size) const;
    void WriteTable(StageTable table, const Byte* src, int size) const;

    int stage_;
    Byte* image_;
    const AddressData& addr_;
    SharedTable chip16_, chipProp_, chip32_, mapSets_;
    std::array<Byte, kScreenCount> map_{};
    std::array<std::array<Byte, 16>, kPaletteSetCount> palettes_{};
    std::array<std::array<Byte, 4>, kPaletteSetCount> paletteAnime_{};
    std::array<std::int32_t, kObjectSlots> objScreen_{}, objX_{}, objY_{}, objKind_{};
    std::array<std::list<ObjectEntry>, kScreenCount> screens_;
    std::vector<UndoData> undo_, redo_;
    bool historyEnabled_ = true;
    std::uint64_t historyRevision_ = 0;
};
