// The settings list (a report list view of label / value rows with icons),
// shared by the settings summary dialog and the favourites dialog; the
// summary's clipboard text; the summary (template 396) and version
// (template 126) dialogs the basic page opens.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <span>
#include <string>

#include "devinfo/difm_api.h"
#include "settings/job_settings.h"

namespace vq {

inline constexpr int kSummaryButtonControl = 1293;  // on the basic page
inline constexpr int kVersionButtonControl = 1296;

// An image list of icons of the resource module (the current sheet's, or
// VQ312RD.dll loaded for the call) at 16 x 16 scaled to the screen, in the
// order given; an icon that cannot be loaded leaves an empty image in its
// place. The caller (or the control it is given to) destroys it.
HIMAGELIST LoadIconImageList(std::span<const uint16_t> ids);

// Fills `list` with the rows of `js` (settings_summary.h). `first`: the list
// is cleared and set up (image list of the row icons at 16 x 16 scaled to
// the screen, full-row selection, grid lines, the two columns); later calls
// rewrite the texts of the rows that are there. Texts come through
// `texts` (a mapping of the device-information module); the media names
// from the current sheet's table, or from `printer` when no sheet is open.
void FillSettingsList(HWND list, const JobSettings& js, bool withScaling, bool first,
                      DifmHandle texts, HANDLE printer);

// The clipboard text of `js` for `printer` (driver and printer names from
// GetPrinterW level 2; blanks when it cannot be read), wide.
std::wstring SettingsText(const JobSettings& js, bool withScaling, DifmHandle texts, HANDLE printer);

// Puts SettingsText on the clipboard as CF_TEXT in the active code page
// (movable global memory). The clipboard must be open and owned by the
// caller (WM_RENDERFORMAT) or is opened here (`open`). Errors are ignored.
void BuildSettingsText(const JobSettings& js, bool withScaling, DifmHandle texts, HANDLE printer,
                       HWND owner, bool open);

// The settings summary dialog for `js`. `withScaling`: the scaling row is
// shown. Returns 0 (-1 when the template cannot be created).
INT_PTR ShowSettingsSummary(HWND owner, const JobSettings& js, bool withScaling, HANDLE printer);

// The version dialog; its button reads the printer's serial number and
// firmware through the status monitor link. Returns 0 (-1 when the template
// cannot be created).
INT_PTR ShowVersionDialog(HWND owner, HANDLE printer);

}  // namespace vq
