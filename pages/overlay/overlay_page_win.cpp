#include "pages/overlay/overlay_page_win.h"

#include "devinfo/text_ids.h"
#include "pages/page_layouts.h"
#include "uicore/help_topics.h"
#include "uicore/resource_ids.h"

namespace vq {

const PageRow kOverlayPage = {
    IDD_OVERLAY,         text_ids::kOverlayPageTitle, rd::kOverlayTabIcon, kPrematurePageFlags,
    PageCondition::kAlways, help::kOverlayPage,      &pages::kLayoutOverlay, pages::kTextsOverlay,
    pages::kHelpOverlay,    text_ids::kOverlayPageWindowText, {}, 0, &PageProc<kOverlayPage>};

}  // namespace vq
