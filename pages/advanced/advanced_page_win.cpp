#include "pages/advanced/advanced_page_win.h"

#include "devinfo/text_ids.h"
#include "pages/page_layouts.h"
#include "uicore/help_topics.h"
#include "uicore/resource_ids.h"

namespace vq {

const PageRow kAdvancedPage = {
    IDD_ADVANCED,         text_ids::kAdvancedPageTitle, rd::kAdvancedTabIcon, kPageFlags,
    PageCondition::kPrintLayout, help::kAdvancedPage,      &pages::kLayoutAdvanced, pages::kTextsAdvanced,
    pages::kHelpAdvanced,    0, {}, 0, &PageProc<kAdvancedPage>};

}  // namespace vq
