// The basic settings page: paper, media, copies, orientation, favourites.
#pragma once

#include "devinfo/paper_media.h"
#include "pages/sheet/page_win.h"

namespace vq {

extern const PageRow kBasicPage;

// The user-defined size this process's sheets share outside user-default
// mode (the custom paper dialog returns into it).
PaperInfo& UserPaperRecord();

}  // namespace vq
