// The basic settings page: paper, media, copies, orientation, favourites.
#pragma once

#include <string>

#include "devinfo/paper_media.h"
#include "pages/sheet/page_win.h"

namespace vq {

extern const PageRow kBasicPage;

// The user-defined size this process's sheets share outside user-default
// mode (the custom paper dialog returns into it).
PaperInfo& UserPaperRecord();

// The paper list (a combo box) filled from a paper table: the table's
// narrow-margin marks are set, `narrowPrefix` goes before the name of a
// paper the printer does not allow, and the item of *currentPaper (which
// falls back to the first paper when it is not allowed) is selected and its
// index returned.
uint32_t FillPaperCombo(HWND list, PaperInfo* table, size_t count, bool narrowMarginAllowed,
                        uint32_t* currentPaper, const std::u16string& narrowPrefix);

}  // namespace vq
