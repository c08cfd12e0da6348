// The property-sheet entry points: Printing Preferences (document sheet) and
// the printer properties' utility page (device sheet), assembled in
// pages/sheet; and the no-UI device-mode request that shares
// DrvDocumentPropertySheets.
#include "base/ddk_win.h"

#include "pages/sheet/sheet_win.h"
#include "settings/devmode_request.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "uicore/dialog_layout_win.h"

using namespace vq;

extern "C" {

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) noexcept {
  try {
    RefreshScreenDpi();
    if (!info) {
      auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam);
      if (!header) return -1;
      Win32PrinterStore printer(header->hPrinter, false);
      const DevModeRequest request{header->hPrinter ? &printer : nullptr, header->pdmIn,
                                   header->pdmOut, reinterpret_cast<uint32_t*>(&header->cbOut),
                                   header->fMode};
      return HandleDevModeRequest(request, Services());
    }
    switch (info->Reason) {
      case PROPSHEETUI_REASON_INIT: return DocumentSheetInit(info);
      case PROPSHEETUI_REASON_SET_RESULT: return DocumentSheetSetResult(info, lParam);
      case PROPSHEETUI_REASON_DESTROY: return DestroySheet();
      default: return 1;  // GET_INFO_HEADER, BEFORE_INIT and the rest
    }
  } catch (...) {
    return 0;
  }
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM) noexcept {
  try {
    if (!info) return -1;
    RefreshScreenDpi();
    switch (info->Reason) {
      case PROPSHEETUI_REASON_INIT: return DeviceSheetInit(info);
      case PROPSHEETUI_REASON_DESTROY: return DestroySheet();
      default: return 1;
    }
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
