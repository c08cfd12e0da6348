// The overlay settings dialog (template 387), opened from the advanced
// page: the overlay page's choices in a modal dialog that writes the record
// only on OK, and OK always switches the overlay on.
#pragma once

#include <windows.h>

#include "settings/job_settings.h"

namespace vq {

// IDOK when the record was written, IDCANCEL when not, -1 when the dialog
// could not be shown.
INT_PTR ShowOverlaySettingsDialog(HWND owner, JobSettings& js);

}  // namespace vq
