// The printer-settings dialogs the utility page opens: sleep timer, cutter
// position and special settings. Each reads the printer when it opens and
// stores its values in the printer data and the printer on OK.
#pragma once

#include <windows.h>

#include "pages/utility/maintenance_win.h"

namespace vq {

// 0 when closed (after sending or cancelling).
INT_PTR ShowSleepTimerDialog(HWND owner, const MaintenanceTarget& t);
// 0 after sending, 1 when cancelled.
INT_PTR ShowCutterPositionDialog(HWND owner, const MaintenanceTarget& t);
// 0 when closed.
INT_PTR ShowSpecialSettingsDialog(HWND owner, const MaintenanceTarget& t);

// Printer-data values of the dialogs (on the printer handle of commands).
bool WritePrinterDataDword(HANDLE printer, const wchar_t* name, DWORD value);
bool WritePrinterDataBytes(HANDLE printer, const wchar_t* name, const void* bytes, DWORD size);
bool ReadPrinterDataBytes(HANDLE printer, const wchar_t* name, void* bytes, DWORD size);

}  // namespace vq
