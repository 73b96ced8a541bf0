#pragma once
// Builds the controls and the controller of each tab page. The main window asks the factory for every
// page, in the order palette, 16x16 chip, 32x32 chip, map set, map, object; a page the factory does not
// build (nullptr) stays empty. Tests hand the main window a factory of their own.

#include <memory>

#include "editors/pagecontroller.h"

class QWidget;

class PageFactory {
public:
    virtual ~PageFactory() = default;
    // Fills tab with the page's controls and returns its controller, or nullptr.
    virtual std::unique_ptr<PageController> Create(int pageIndex, QWidget* tab, PageContext& context) = 0;
};

// The factory of the real editor pages.
std::unique_ptr<PageFactory> CreateDefaultPageFactory();
