#include "pages/cut/cut_page_win.h"

#include "devinfo/text_ids.h"
#include "pages/page_layouts.h"
#include "uicore/help_topics.h"
#include "uicore/resource_ids.h"

namespace vq {

const PageRow kCutPage = {
    IDD_CUT,         text_ids::kCutPageTitle, rd::kCutTabIcon, kPageFlags,
    PageCondition::kAlways, help::kCutPage,      &pages::kLayoutCut, pages::kTextsCut,
    pages::kHelpCut,    text_ids::kCutPageWindowText, {}, 0, &PageProc<kCutPage>};

}  // namespace vq
