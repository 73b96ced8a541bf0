#pragma once
// Modified flags: per stage and per category of tables, plus the overall flag shown in the status bar.

#include <array>
#include <string>

#include "document/uitextmark.h"

enum class ModifiedCategory : int { Chip16x16 = 0, Chip32x32 = 1, MapSet = 2, Map = 3, Object = 4, Palette = 5 };
constexpr int kModifiedCategoryCount = 6;

// Where the modified marker is shown (status panel 0 of the main window).
class ModifiedMarkerSink {
public:
    virtual ~ModifiedMarkerSink() = default;
    // text is "変更あり" (UTF-8) when modified, empty when clean.
    virtual void ShowModifiedMarker(const std::string& text) = 0;
};

class EditFlagManagement {
public:
    static constexpr const char* kModifiedText = QUORVEN_TEXT("Document", "変更あり");

    // sink may be null (nothing is shown). Starts clean.
    explicit EditFlagManagement(ModifiedMarkerSink* sink);

    void SetModified(ModifiedCategory category, int stage, bool value);
    bool IsModified(ModifiedCategory category, int stage) const;
    bool AnyModified() const { return any_; }
    void ClearAllModified();

private:
    ModifiedMarkerSink* sink_;
    bool any_ = false;
    std::array<std::array<bool, 16>, kModifiedCategoryCount> flags_{};
};
