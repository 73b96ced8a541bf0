#pragma once
// Tells the views beside the pages what the user has just changed in the current stage. Edits reach the
// stage along many paths (page views, controls, dialogs, undo, reload, imports); rather than each of them
// reporting, the watcher looks at the stage after every user input and after the main window's own
// lifecycle steps, and reports the difference from its last look (see StageSnapshot).

#include <QObject>

#include "document/stagesnapshot.h"

class RomImageData;

class DocumentWatcher : public QObject {
    Q_OBJECT
public:
    // Watches the input of the whole application from construction on.
    explicit DocumentWatcher(const RomImageData& rom, QObject* parent = nullptr);
    ~DocumentWatcher() override;

    // Looks now; emits StageChanged when anything differs from the last look.
    void Check();
    // Looks once the current event has been handled (many calls in one turn make one look).
    void CheckSoon();

signals:
    void StageChanged(const StageChange& change);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const RomImageData& rom_;
    StageSnapshot last_;
    bool pending_ = false;
};
