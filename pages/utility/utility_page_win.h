// The utility page: the printer's maintenance panel. Printing Preferences
// show it when APUI_BUTILITY is 1; the printer properties show it alone,
// under another title and help topic.
#pragma once

#include "pages/sheet/page_win.h"

namespace vq {

extern const PageRow kUtilityPage;        // in Printing Preferences
extern const PageRow kUtilityDevicePage;  // in the printer properties

}  // namespace vq
