#pragma once
// Builds the controls and the controller of each tab page. The main window asks the factory for every
// page, in the order palette, 16x16 chip, 32x32 chip, map set, map, object; a page the factory does not
// build (nullptr) stays empty. Tests hand the main window a factory of their own.

#include <memory>

class QTimer;
class QWidget;
class RomImageData;
class EditFlagManagement;
class EditorGraphics;
class EditorShell;
class PageController;

// Page indexes in tab order.
enum PageIndex : int {
    kPageMap = 0,
    kPageMapSet = 1,
    kPage32x32Chip = 2,
    kPage16x16Chip = 3,
    kPagePalette = 4,
    kPageObject = 5,
    kPageCount = 6,
};

struct PageContext {
    RomImageData& rom;
    EditFlagManagement& flags;
    EditorGraphics& graphics;
    EditorShell& shell;
    QTimer& frameTimer;
};

class PageFactory {
public:
    virtual ~PageFactory() = default;
    // Fills tab with the page's controls and returns its controller, or nullptr.
    virtual std::unique_ptr<PageController> Create(int pageIndex, QWidget* tab, PageContext& context) = 0;
};

// The factory of the real editor pages.
std::unique_ptr<PageFactory> CreateDefaultPageFactory();
