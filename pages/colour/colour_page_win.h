// The colour page: colour mode, resolution, halftone, monochrome, colour preview.
#pragma once

#include "pages/sheet/page_win.h"

namespace vq {

extern const PageRow kColourPage;

}  // namespace vq
