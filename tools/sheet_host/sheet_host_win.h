// A property-sheet host of our own, implementing the host side of the
// driver UI interface as Microsoft documents it: it adds the pages the
// driver registers (CPSFUNC_ADD_PROPSHEETPAGEW), passes the pages' results
// back (CPSFUNC_SET_RESULT, which Wine's compstui lacks) and shows the pages
// with PropertySheetW. vq312ctl uses it for the printer properties (Wine's
// PrinterProperties never reaches the driver) and the tests for the
// SET_RESULT contract.
#pragma once

#include <windows.h>
#include <prsht.h>
#include <compstui.h>

#include <functional>
#include <string>
#include <vector>

namespace vq::host {

using SheetEntry = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);

struct HostResult {
  LONG initResult = 0;       // what the driver's INIT returned
  INT_PTR sheetResult = -1;  // PropertySheetW's result (1 OK, 0 Cancel)
  LONG_PTR setResult = 0;    // the Result the driver reported through SET_RESULT
  int setResultCalls = 0;
  LONG destroyResult = 0;
  size_t pages = 0;
};

// Runs one sheet: INIT with lParamInit (a DOCUMENTPROPERTYHEADER or a
// DEVICEPROPERTYHEADER), the modal sheet, then DESTROY. `driveSheet` runs on
// a thread of its own once the sheet window exists, with that window; it
// must end the sheet (OK or Cancel). Without it the sheet waits for a person.
// `onReady`, if given, runs on the sheet's own thread as soon as the sheet
// has initialised, before anything is painted; it may drive the sheet too.
HostResult RunSheet(SheetEntry entry, void* lParamInit, const std::wstring& caption,
                    std::function<void(HWND sheet)> driveSheet,
                    std::function<void(HWND sheet)> onReady = nullptr);

// The property sheet's window once it is shown (waits up to `ms`).
HWND WaitForSheet(const std::wstring& caption, DWORD ms = 10000);

// Writes what the screen shows of a window as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::wstring& path);

// Shows each page of an open sheet in turn, saving a screenshot of each into
// `folder` (page-1.bmp, ...). Returns the number of pages saved.
int ScreenshotEveryPage(HWND sheet, const std::wstring& folder);

// Lets an opened sheet settle, saves every page into `folder` and cancels
// the sheet. Returns the number of pages saved.
int ScreenshotAndCancel(HWND sheet, const std::wstring& folder);

}  // namespace vq::host
