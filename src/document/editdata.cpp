#include "document/editdata.h"
#include "document/uitextmark.h"

#include <algorithm>
#include <cstring>

namespace {

// Every read of the image buffer at a table address goes through here: the address comes from the user's
// INI file, so the part of [address, address + size) outside the buffer reads as 0.
void CopyFromImage(const Byte* image, std::int64_t address, Byte* dst, int size) {
    if (address >= 0 && address + size <= kImageCapacity) {
        std::memcpy(dst, image + address, static_cast<std::size_t>(size));
        return;
    }
    for (int i = 0; i < size; ++i) {
        std::int64_t a = address + i;
        dst[i] = (a >= 0 && a < kImageCapacity) ? image[a] : 0;
    }
}

// ... and every write: bytes that would land outside the buffer are dropped.
void CopyToImage(Byte* image, std::int64_t address, const Byte* src, int size) {
    if (address >= 0 && address + size <= kImageCapacity) {
        std::memcpy(image + address, src, static_cast<std::size_t>(size));
        return;
    }
    for (int i = 0; i < size; ++i) {
        std::int64_t a = address + i;
        if (a >= 0 && a < kImageCapacity) image[a] = src[i];
    }
}

int RecordSize(int kind) {
    switch (kind) {
    case kUndoChip16x16Paste: return 5;
    case kUndoChip32x32Paste: return 4;
    case kUndoMapSetPaste:
    case kUndoMapSetGridEdit: return kMapSetSize;
    default: return 1;
    }
}

bool IsBlockKind(int kind) {
    return kind == kUndoChip16x16Paste || kind == kUndoChip32x32Paste || kind == kUndoMapSetPaste ||
           kind == kUndoMapSetGridEdit;
}

SharedTable NewTable(int size) {
    return std::make_shared<std::vector<Byte>>(static_cast<std::size_t>(size), Byte{0});
}

}  // namespace

const char* UndoKindDescription(int kind) {
    switch (kind) {
    case kUndoChip16x16Tile: return QUORVEN_TEXT("Document", "16x16チップの編集");
    case kUndoChipProperty: return QUORVEN_TEXT("Document", "16x16チップの編集(属性・パレット)");
    case kUndoChip16x16Paste: return QUORVEN_TEXT("Document", "16x16チップの編集(貼り付け)");
    case kUndoChip32x32Byte: return QUORVEN_TEXT("Document", "32x32チップの編集");
    case kUndoChip32x32Paste: return QUORVEN_TEXT("Document", "32x32チップの編集(貼り付け)");
    case kUndoMapSetByte: return QUORVEN_TEXT("Document", "マップセットの編集");
    case kUndoMapSetPaste: return QUORVEN_TEXT("Document", "マップセットの編集(貼り付け)");
    case kUndoMapSetGridEdit: return QUORVEN_TEXT("Document", "マップセットの編集(グリッド編集)");
    case kUndoMapEntry: return QUORVEN_TEXT("Document", "マップの編集");
    case kUndoPaletteByte: return QUORVEN_TEXT("Document", "パレットの編集");
    case kUndoPaletteAnimeByte: return QUORVEN_TEXT("Document", "パレットアニメの編集");
    default: return "";
    }
}

StageData::StageData(int stage, Byte* image, const AddressData& addresses)
    : stage_(stage),
      image_(image),
      addr_(addresses),
      chip16_(NewTable(kChip16x16TilesSize)),
      chipProp_(NewTable(kChipPropertySize)),
      chip32_(NewTable(kChip32x32Size)),
      mapSets_(NewTable(kMapSetTableSize)) {}

std::int32_t StageData::TableExtent(StageTable table) {
    switch (table) {
    case StageTable::Chip16x16: return kChip16x16TilesSize;
    case StageTable::ChipProperty: return kChipPropertySize;
    case StageTable::Chip32x32: return kChip32x32Size;
    case StageTable::MapSet: return kMapSetTableSize;
    case StageTable::Map: return kScreenCount;
    case StageTable::BGPalette: return kPaletteRecordStride * (kPaletteSetCount - 1) + 16;
    case StageTable::BGPaletteAnime: return kPaletteRecordStride * (kPaletteSetCount - 1) + 4;
    case StageTable::ObjectScreen:
    case StageTable::ObjectX:
    case StageTable::ObjectY:
    case StageTable::ObjectKind: return kObjectSlots;
    case StageTable::ObjectOffset: return kScreenCount;
    case StageTable::ScrollData: return 0;
    case StageTable::ScrollGraphicsLoad: return 16;
    }
    return 0;
}

void StageData::ShareTablesWith(const StageData& other) {
    chip16_ = other.chip16_;
    chipProp_ = other.chipProp_;
    chip32_ = other.chip32_;
    mapSets_ = other.mapSets_;
}

// ---------------------------------------------------------------- image access

void StageData::ReadTable(StageTable table, Byte* dst, int size) const {
    CopyFromImage(image_, addr_.TableAddress(table, stage_), dst, size);
}

void StageData::WriteTable(StageTable table, const Byte* src, int size) const {
    CopyToImage(image_, addr_.TableAddress(table, stage_), src, size);
}

void StageData::ReadChip16x16Tiles() {
    ReadTable(StageTable::Chip16x16, chip16_->data(), kChip16x16TilesSize);
}
void StageData::ReadChipProperties() {
    ReadTable(StageTable::ChipProperty, chipProp_->data(), kChipPropertySize);
}
void StageData::ReadChip32x32() {
    ReadTable(StageTable::Chip32x32, chip32_->data(), kChip32x32Size);
}
void StageData::ReadMapSets() {
    ReadTable(StageTable::MapSet, mapSets_->data(), kMapSetTableSize);
}
void StageData::ReadMap() {
    ReadTable(StageTable::Map, map_.data(), kScreenCount);
}

void StageData::ReadBGPalettes() {
    std::int64_t base = addr_.TableAddress(StageTable::BGPalette, stage_);
    for (int p = 0; p < kPaletteSetCount; ++p)
        CopyFromImage(image_, base + kPaletteRecordStride * p, palettes_[p].data(), 16);
}

void StageData::ReadPaletteAnime() {
    std::int64_t base = addr_.TableAddress(StageTable::BGPaletteAnime, stage_);
    for (int p = 0; p < kPaletteSetCount; ++p)
        CopyFromImage(image_, base + kPaletteRecordStride * p, paletteAnime_[p].data(), 4);
}

void StageData::ReadObjects() {
    std::array<Byte, kObjectSlots> s, x, y, k;  // each filled whole by ReadTable
    ReadTable(StageTable::ObjectScreen, s.data(), kObjectSlots);
    ReadTable(StageTable::ObjectX, x.data(), kObjectSlots);
    ReadTable(StageTable::ObjectY, y.data(), kObjectSlots);
    ReadTable(StageTable::ObjectKind, k.data(), kObjectSlots);
    for (int i = 0; i < kObjectSlots; ++i) {
        objScreen_[i] = s[i];
        objX_[i] = x[i];
        objY_[i] = y[i];
        objKind_[i] = k[i];
    }
    // The entries are sorted by screen; the scan stops at the first entry whose screen is lower than the one
    // before it or is 48 or more (the end marker 0xFF among them). The old entries are overwritten in place
    // and the list nodes reused, so a reload of an image with about the same objects does no allocation.
    std::list<ObjectEntry> pool;
    int i = 0;
    for (int j = 0; j < kScreenCount; ++j) {
        auto& list = screens_[j];
        auto node = list.begin();
        for (; i < kObjectSlots && objScreen_[i] == j; ++i) {
            const ObjectEntry entry{objX_[i], objY_[i], objKind_[i]};
            if (node != list.end()) {
                *node++ = entry;
            } else if (!pool.empty()) {
                list.splice(list.end(), pool, pool.begin());
                list.back() = entry;
            } else {
                list.push_back(entry);
            }
        }
        pool.splice(pool.end(), list, node, list.end());  // the screen's surplus nodes
    }
}

void StageData::ReadAllTables() {
    ClearHistory();
    ReadChip16x16Tiles();
    ReadChip32x32();
    ReadChipProperties();
    ReadMapSets();
    ReadMap();
    ReadBGPalettes();
    ReadPaletteAnime();
    ReadObjects();
}

void StageData::WriteChip16x16Tiles() const {
    WriteTable(StageTable::Chip16x16, chip16_->data(), kChip16x16TilesSize);
}
void StageData::WriteChipProperties() const {
    WriteTable(StageTable::ChipProperty, chipProp_->data(), kChipPropertySize);
}
void StageData::WriteChip32x32() const {
    WriteTable(StageTable::Chip32x32, chip32_->data(), kChip32x32Size);
}
void StageData::WriteMapSets() const {
    WriteTable(StageTable::MapSet, mapSets_->data(), kMapSetTableSize);
}
void StageData::WriteMap() const {
    WriteTable(StageTable::Map, map_.data(), kScreenCount);
}

void StageData::WriteBGPalettes() const {
    std::int64_t base = addr_.TableAddress(StageTable::BGPalette, stage_);
    for (int p = 0; p < kPaletteSetCount; ++p)
        CopyToImage(image_, base + kPaletteRecordStride * p, palettes_[p].data(), 16);
}

void StageData::WritePaletteAnime() const {
    std::int64_t base = addr_.TableAddress(StageTable::BGPaletteAnime, stage_);
    for (int p = 0; p < kPaletteSetCount; ++p)
        CopyToImage(image_, base + kPaletteRecordStride * p, paletteAnime_[p].data(), 4);
}

void StageData::WriteObjects() {
    std::array<Byte, kScreenCount> offsets{};
    int n = 0;
    for (int j = 0; j < kScreenCount; ++j) {
        offsets[j] = static_cast<Byte>(n);
        for (const ObjectEntry& e : screens_[j]) {
            if (n < kObjectSlots) {  // AppendObject keeps the total within the arrays; never write past them
                objScreen_[n] = j;
                objX_[n] = e.x;
                objY_[n] = e.y;
                objKind_[n] = e.kind;
            }
            ++n;
        }
    }
    if (n < kObjectSlots) objScreen_[n] = kObjectEndMarker;  // the entries after it keep their values
    WriteTable(StageTable::ObjectOffset, offsets.data(), kScreenCount);

    std::array<Byte, kObjectSlots> s{}, x{}, y{}, k{};
    for (int i = 0; i < kObjectSlots; ++i) {
        s[i] = static_cast<Byte>(objScreen_[i] & 0xFF);
        x[i] = static_cast<Byte>(objX_[i] & 0xFF);
        y[i] = static_cast<Byte>(objY_[i] & 0xFF);
        k[i] = static_cast<Byte>(objKind_[i] & 0xFF);
    }
    WriteTable(StageTable::ObjectScreen, s.data(), kObjectSlots);
    WriteTable(StageTable::ObjectX, x.data(), kObjectSlots);
    WriteTable(StageTable::ObjectY, y.data(), kObjectSlots);
    WriteTable(StageTable::ObjectKind, k.data(), kObjectSlots);
}

// ---------------------------------------------------------------- edits

// The bytes a record of each kind covers, in record order. Only called with indexes the edit operations
// accepted, so the place always lies inside the table.
Byte* StageData::RecordByte(int kind, std::int32_t index, int k) {
    switch (kind) {
    case kUndoChip16x16Tile: return chip16_->data() + index;
    case kUndoChipProperty: return chipProp_->data() + index;
    case kUndoChip16x16Paste: return k < 4 ? chip16_->data() + 256 * k + index : chipProp_->data() + index;
    case kUndoChip32x32Byte: return chip32_->data() + index;
    case kUndoChip32x32Paste: return chip32_->data() + index + k;
    case kUndoMapSetByte: return mapSets_->data() + index;
    case kUndoMapSetPaste:
    case kUndoMapSetGridEdit: return mapSets_->data() + index + k;
    case kUndoMapEntry: return map_.data() + index;
    case kUndoPaletteByte: return &palettes_[index / 16][index % 16];
    case kUndoPaletteAnimeByte: return &paletteAnime_[index / 4][index % 4];
    default: return nullptr;
    }
}

void StageData::Record(UndoData record) {
    undo_.push_back(std::move(record));
    redo_.clear();
    ++historyRevision_;
}

// A record of the bytes now at the place of kind/index.
UndoData StageData::Capture(int kind, std::int32_t index) {
    UndoData r;
    r.kind = static_cast<Byte>(kind);
    r.index = index;
    if (IsBlockKind(kind)) {
        int n = RecordSize(kind);
        r.bytes.resize(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) r.bytes[static_cast<std::size_t>(k)] = *RecordByte(kind, index, k);
    } else {
        r.value = *RecordByte(kind, index, 0);
    }
    return r;
}

bool StageData::SetChip16x16Tile(int index, Byte tile) {
    if (index < 0 || index >= kChip16x16TilesSize || (*chip16_)[index] == tile) return false;
    if (historyEnabled_) Record(Capture(kUndoChip16x16Tile, index));
    (*chip16_)[index] = tile;
    return true;
}

bool StageData::PasteChip16x16(int chip, const std::array<Byte, 5>& bytes) {
    if (chip < 0 || chip >= 256) return false;
    if (historyEnabled_) Record(Capture(kUndoChip16x16Paste, chip));
    for (int k = 0; k < 5; ++k) *RecordByte(kUndoChip16x16Paste, chip, k) = bytes[k];
    return true;
}

bool StageData::SetChipProperty(int chip, Byte attribute) {
    if (chip < 0 || chip >= kChipPropertySize || (*chipProp_)[chip] == attribute) return false;
    if (historyEnabled_) Record(Capture(kUndoChipProperty, chip));
    (*chipProp_)[chip] = attribute;
    return true;
}

bool StageData::SetChip32x32Byte(int index, Byte chip16) {
    if (index < 0 || index >= kChip32x32Size || (*chip32_)[index] == chip16) return false;
    if (historyEnabled_) Record(Capture(kUndoChip32x32Byte, index));
    (*chip32_)[index] = chip16;
    return true;
}

bool StageData::PasteChip32x32(int index, const std::array<Byte, 4>& bytes) {
    if (index < 0 || index > kChip32x32Size - 4) return false;
    if (historyEnabled_) Record(Capture(kUndoChip32x32Paste, index));
    std::copy(bytes.begin(), bytes.end(), chip32_->begin() + index);
    return true;
}

bool StageData::SetMapSetByte(int index, Byte chip32) {
    if (index < 0 || index >= kMapSetTableSize || (*mapSets_)[index] == chip32) return false;
    if (historyEnabled_) Record(Capture(kUndoMapSetByte, index));
    (*mapSets_)[index] = chip32;
    return true;
}

bool StageData::PasteMapSet(int index, const std::array<Byte, 64>& bytes) {
    if (index < 0 || index > kMapSetTableSize - kMapSetSize) return false;
    if (historyEnabled_) Record(Capture(kUndoMapSetPaste, index));
    std::copy(bytes.begin(), bytes.end(), mapSets_->begin() + index);
    return true;
}

bool StageData::GridEditMapSet(int index, const std::array<Byte, 64>& bytes) {
    if (index < 0 || index > kMapSetTableSize - kMapSetSize) return false;
    if (historyEnabled_) Record(Capture(kUndoMapSetGridEdit, index));
    std::copy(bytes.begin(), bytes.end(), mapSets_->begin() + index);
    return true;
}

bool StageData::SetMapEntry(int screen, Byte mapSet) {
    if (screen < 0 || screen >= kScreenCount || map_[screen] == mapSet) return false;
    if (historyEnabled_) Record(Capture(kUndoMapEntry, screen));
    map_[screen] = mapSet;
    return true;
}

bool StageData::SetPaletteByte(int index, Byte colour) {
    if (index < 0 || index >= 16 * kPaletteSetCount || palettes_[index / 16][index % 16] == colour) return false;
    if (historyEnabled_) Record(Capture(kUndoPaletteByte, index));
    palettes_[index / 16][index % 16] = colour;
    return true;
}

bool StageData::SetPaletteAnimeByte(int index, Byte animation) {
    if (index < 0 || index >= 4 * kPaletteSetCount || paletteAnime_[index / 4][index % 4] == animation) return false;
    if (historyEnabled_) Record(Capture(kUndoPaletteAnimeByte, index));
    paletteAnime_[index / 4][index % 4] = animation;
    return true;
}

// ---------------------------------------------------------------- undo and redo

int StageData::Step(std::vector<UndoData>& from, std::vector<UndoData>& to) {
    if (from.empty()) return kUndoEmpty;
    ++historyRevision_;
    UndoData r = std::move(from.back());
    from.pop_back();
    // The opposite step holds the bytes now at r's place, as many as r holds, in the same order.
    UndoData opposite = Capture(r.kind, r.index);
    to.push_back(std::move(opposite));
    if (IsBlockKind(r.kind)) {
        for (std::size_t k = 0; k < r.bytes.size(); ++k) *RecordByte(r.kind, r.index, static_cast<int>(k)) = r.bytes[k];
    } else {
        *RecordByte(r.kind, r.index, 0) = r.value;
    }
    return r.kind;
}

int StageData::Undo() {
    return Step(undo_, redo_);
}
int StageData::Redo() {
    return Step(redo_, undo_);
}

const char* StageData::UndoDescription() const {
    return undo_.empty() ? "" : UndoKindDescription(undo_.back().kind);
}

const char* StageData::RedoDescription() const {
    return redo_.empty() ? "" : UndoKindDescription(redo_.back().kind);
}

void StageData::ClearHistory() {
    undo_.clear();
    redo_.clear();
    ++historyRevision_;
}

// ---------------------------------------------------------------- objects

ObjectEntry* StageData::AppendObject(int screen, int x, int y, int kind) {
    if (screen < 0 || screen >= kScreenCount || ObjectTotal() >= kObjectSlots) return nullptr;
    screens_[screen].push_back(ObjectEntry{x, y, kind});
    return &screens_[screen].back();
}

int StageData::ObjectTotal() const {
    std::size_t total = 0;
    for (const auto& list : screens_) total += list.size();
    return static_cast<int>(total);
}

int StageData::ScreenObjectCount(int screen) const {
    if (screen < 0 || screen >= kScreenCount) return 0;
    return static_cast<int>(screens_[screen].size());
}

int StageData::ObjectNumber(const ObjectEntry* entry, int screen) const {
    if (screen < 0 || screen >= kScreenCount || entry == nullptr) return -1;
    int number = 0;
    for (int j = 0; j < screen; ++j) number += static_cast<int>(screens_[j].size());
    for (const ObjectEntry& e : screens_[screen]) {
        if (&e == entry) return number;
        ++number;
    }
    return -1;
}

void StageData::RemoveObject(const ObjectEntry* entry, int screen) {
    if (screen < 0 || screen >= kScreenCount || entry == nullptr) return;
    auto& list = screens_[screen];
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (&*it == entry) {
            list.erase(it);
            return;
        }
    }
}

ObjectEntry* StageData::LastObject(int screen) {
    if (screen < 0 || screen >= kScreenCount || screens_[screen].empty()) return nullptr;
    return &screens_[screen].back();
}

void StageData::SortScreenObjects(int screen) {
    if (screen < 0 || screen >= kScreenCount) return;
    // std::list::sort is stable and relinks the nodes, so entries with equal X keep their order and every
    // ObjectEntry* held by an editor still points at the same object.
    screens_[screen].sort([](const ObjectEntry& a, const ObjectEntry& b) { return a.x < b.x; });
}

void StageData::ClearScreenObjects(int screen) {
    if (screen < 0 || screen >= kScreenCount) return;
    screens_[screen].clear();
}
