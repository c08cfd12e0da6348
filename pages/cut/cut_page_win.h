// The cut settings page: edge cuts, cuts between labels, minimum piece length.
#pragma once

#include "pages/sheet/page_win.h"

namespace vq {

extern const PageRow kCutPage;

}  // namespace vq
