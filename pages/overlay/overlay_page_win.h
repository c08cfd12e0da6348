// The overlay forms page: record the job as a form, or print over one. It is
// created together with the sheet (PSP_PREMATURE).
#pragma once

#include "pages/sheet/page_win.h"

namespace vq {

extern const PageRow kOverlayPage;

}  // namespace vq
