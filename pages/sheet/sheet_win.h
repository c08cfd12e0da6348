// The two property sheets of the driver, assembled from the page rows:
// Printing Preferences (the document sheet: up to six pages editing a job
// settings record) and the printer properties' utility page (the device
// sheet). The host drives them through INIT, SET_RESULT and DESTROY.
#pragma once

#include "base/ddk_win.h"

#include <span>

#include "pages/sheet/page_win.h"

namespace vq {

// The document sheet's pages in order; each is added when its condition holds.
std::span<const PageRow* const> DocumentSheetPages();
// The device sheet's one page.
const PageRow& DeviceSheetPage();

// Each returns the sheet status: 1 success, 0 a missing module, table or
// memory, -1 a missing header, printer, mapping or start device mode. A
// failed INIT leaves its context on the thread for DESTROY.
LONG DocumentSheetInit(PPROPSHEETUI_INFO info);
LONG DeviceSheetInit(PPROPSHEETUI_INFO info);
LONG DocumentSheetSetResult(PPROPSHEETUI_INFO info, LPARAM setResultInfo);
// Releases the thread's sheet; -1 when none is open.
LONG DestroySheet();

}  // namespace vq
