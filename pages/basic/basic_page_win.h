// The basic settings page: paper, media, copies, orientation, favourites.
#pragma once

#include "pages/sheet/page_win.h"

namespace vq {

extern const PageRow kBasicPage;

}  // namespace vq
