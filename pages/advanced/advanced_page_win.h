// The advanced settings page: print level, page order, pages per sheet; only
// on printers whose APUI_DWPRINTLAYOUT is set.
#pragma once

#include "pages/sheet/page_win.h"

namespace vq {

extern const PageRow kAdvancedPage;

}  // namespace vq
