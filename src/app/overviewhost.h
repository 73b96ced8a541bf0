#pragma once
// Hosts the stage overview in the main window: the View menu's item "ステージ全体図", the dock at the
// bottom (shown while the item is ticked and an image is open), its feed from the document watcher, the
// palette animation and the page changes, and its two settings ([View] StageOverview, StageOverviewScale).

#include <QObject>
#include <QPointer>

class QAction;
class TMainForm;
class TMyMemIniFile;
class StageOverviewDock;
struct PageContext;
struct StageChange;

class OverviewHost : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kShownKey = "StageOverview";
    static constexpr const char* kScaleKey = "StageOverviewScale";

    // Builds the dock and the menu item from the settings as read; form must have its pages.
    OverviewHost(TMainForm& form, PageContext& context, const TMyMemIniFile& ini);
    // Takes the dock away (before the document and renderer it reads go).
    ~OverviewHost() override;

    // Writes the two settings (when the window writes its others).
    void StoreSettings(TMyMemIniFile& ini) const;
    StageOverviewDock* Dock() const;
    QAction* Action() const { return action_; }

private:
    void StageChanged(const StageChange& change);
    void UpdateShown();

    TMainForm& form_;
    QPointer<StageOverviewDock> dock_;
    QAction* action_ = nullptr;
};
