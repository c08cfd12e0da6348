// The paper details tooltip of the basic page, which the colour and advanced
// pages show over their paper previews too.
#pragma once

#include <windows.h>

#include <string>

#include "pages/basic/basic_rules.h"
#include "settings/job_settings.h"

namespace vq {

// The labels and words of the details texts, in the UI language.
basic::DetailTexts DetailTexts();

// The sizes of `paper`, in the unit the record uses.
std::u16string PaperText(const JobSettings& js, const PaperInfo& paper);

// A tracking tooltip owned by `page` with one tool `toolId`, wide enough for
// a line per size; null when the window cannot be made.
HWND CreateTrackingTip(HWND page, UINT toolId);
void ShowTrackingTip(HWND tip, HWND page, UINT toolId, const std::u16string& text, POINT at);

// Moving the mouse over `preview` opens a tooltip with the working record's
// paper, centred on the preview; moving it over `closer` (may be null) or
// over the page, or leaving the page, closes it. The tip belongs to the
// page window and goes with it.
void AttachPreviewTip(HWND page, HWND preview, HWND closer);

// Closes the page's preview tooltip, if one is open.
void WithdrawPreviewTip(HWND page);

}  // namespace vq
