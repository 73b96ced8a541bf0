#include "editors/pagefactory.h"

#include "editors/16x16chipedit.h"
#include "editors/32x32chipedit.h"
#include "editors/mapedit.h"
#include "editors/mapsetedit.h"
#include "editors/objectedit.h"
#include "editors/pagecontroller.h"
#include "editors/paletteedit.h"

namespace {
// Builds the pages that have an editor; the other tabs stay empty until theirs is plugged in here.
class DefaultPageFactory : public PageFactory {
public:
    std::unique_ptr<PageController> Create(int pageIndex, QWidget* tab, PageContext& context) override {
        switch (pageIndex) {
        case kPagePalette: return CreatePalettePage(tab, context);
        case kPage16x16Chip: return Create16x16ChipPage(tab, context);
        case kPageMap: return CreateMapPage(tab, context);
        case kPage32x32Chip: return Create32x32ChipPage(tab, context);
        case kPageMapSet: return CreateMapSetPage(tab, context);
        case kPageObject: return CreateObjectPage(tab, context);
        default: return nullptr;
        }
    }
};
}  // namespace

std::unique_ptr<PageFactory> CreateDefaultPageFactory() {
    return std::make_unique<DefaultPageFactory>();
}
