#include "document/edit_flag.h"

EditFlagManagement::EditFlagManagement(ModifiedMarkerSink* sink) : sink_(sink) {
    ClearAllModified();
}

void EditFlagManagement::SetModified(ModifiedCategory category, int stage, bool value) {
    int c = static_cast<int>(category);
    if (c < 0 || c >= kModifiedCategoryCount || stage < 0 || stage >= 16) return;
    flags_[c][stage] = value;
    if (!value) return;  // clearing one flag leaves the overall flag and the marker as they are
    any_ = true;
    if (sink_) sink_->ShowModifiedMarker(kModifiedText);
}

bool EditFlagManagement::IsModified(ModifiedCategory category, int stage) const {
    int c = static_cast<int>(category);
    if (c < 0 || c >= kModifiedCategoryCount || stage < 0 || stage >= 16) return false;
    return flags_[c][stage];
}

void EditFlagManagement::ClearAllModified() {
    for (auto& row : flags_) row.fill(false);
    any_ = false;
    if (sink_) sink_->ShowModifiedMarker(std::string());
}
