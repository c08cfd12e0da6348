#include "pages/colour/colour_page_win.h"

#include "devinfo/text_ids.h"
#include "pages/page_layouts.h"
#include "uicore/help_topics.h"
#include "uicore/resource_ids.h"

namespace vq {

const PageRow kColourPage = {
    IDD_COLOUR,         text_ids::kColourPageTitle, rd::kColourTabIcon, kPageFlags,
    PageCondition::kAlways, help::kColourPage,      &pages::kLayoutColour, pages::kTextsColour,
    pages::kHelpColour,    0, {}, 0, &PageProc<kColourPage>};

}  // namespace vq
