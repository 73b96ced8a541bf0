#include "pagefactory.h"

#include "16x16chipedit.h"
#include "pagecontroller.h"
#include "paletteedit.h"

namespace {
// Builds the pages that have an editor; the other tabs stay empty until theirs is plugged in here.
class DefaultPageFactory : public PageFactory {
public:
    std::unique_ptr<PageController> Create(int pageIndex, QWidget* tab, PageContext& context) override {
        switch (pageIndex) {
        case kPagePalette:
            return CreatePalettePage(tab, context);
        case kPage16x16Chip:
            return Create16x16ChipPage(tab, context);
        default:
            return nullptr;
        }
    }
};
}  // namespace

std::unique_ptr<PageFactory> CreateDefaultPageFactory() { return std::make_unique<DefaultPageFactory>(); }
