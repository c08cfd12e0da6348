// The head position adjustment dialogs the utility page opens: the four-step
// wizard (template 5110) that reads eight marks of the adjustment pattern,
// and the detailed one (template 5111) that refines the first three
// registration values from three readings per colour row. Both read the
// printer's registration values, add what the user read, store the result
// in the printer data and send it to the printer.
#pragma once

#include <windows.h>

#include "pages/utility/maintenance_win.h"

namespace vq {

struct SheetContext;

// 0 when closed (also after going on to the detailed dialog).
INT_PTR ShowHeadAdjustmentDialog(HWND owner, SheetContext& sheet, const MaintenanceTarget& t);
INT_PTR ShowDetailedHeadAdjustmentDialog(HWND owner, SheetContext& sheet,
                                         const MaintenanceTarget& t);

}  // namespace vq
