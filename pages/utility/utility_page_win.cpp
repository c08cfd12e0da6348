#include "pages/utility/utility_page_win.h"

#include "devinfo/text_ids.h"
#include "pages/page_layouts.h"
#include "uicore/help_topics.h"
#include "uicore/resource_ids.h"

namespace vq {

const PageRow kUtilityPage = {
    IDD_UTILITY,           text_ids::kUtilityPageTitle, rd::kUtilityTabIcon, kPageFlags,
    PageCondition::kUtility, help::kUtilityPageDocument, &pages::kLayoutUtility,
    pages::kTextsUtility,  pages::kHelpUtility, 0, {}, 0, &PageProc<kUtilityPage>};

const PageRow kUtilityDevicePage = {
    IDD_UTILITY,           text_ids::kUtilityDevicePageTitle, rd::kUtilityTabIcon, kPageFlags,
    PageCondition::kAlways, help::kUtilityPageDevice, &pages::kLayoutUtility,
    pages::kTextsUtility,  pages::kHelpUtility, 0, {}, 0, &PageProc<kUtilityDevicePage>};

}  // namespace vq
