#include "pages/basic/basic_page_win.h"

#include "devinfo/text_ids.h"
#include "pages/page_layouts.h"
#include "uicore/help_topics.h"
#include "uicore/resource_ids.h"

namespace vq {

const PageRow kBasicPage = {
    IDD_BASIC,         text_ids::kBasicPageTitle, rd::kBasicTabIcon, kPageFlags,
    PageCondition::kAlways, help::kBasicPage,      &pages::kLayoutBasic, pages::kTextsBasic,
    pages::kHelpBasic,    0, {}, 0, &PageProc<kBasicPage>};

}  // namespace vq
