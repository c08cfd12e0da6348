// The printer information output choice (template 393): print the
// printer's own information label, or save a text report of what the
// driver can read from the printer.
#pragma once

#include <windows.h>

#include <string>

#include "pages/utility/maintenance_win.h"

namespace vq {

// 2 when cancelled or after the report was saved (or could not be), 1 when
// printing was chosen.
INT_PTR ShowPrinterInfoOutputDialog(HWND owner, const MaintenanceTarget& t);

// The report's text: what the printer reports about itself and the
// settings of its maintenance dialogs, one "label value" line each.
std::wstring BuildPrinterReport(const MaintenanceTarget& t, const std::wstring& serial,
                                const std::wstring& firmware);

}  // namespace vq
