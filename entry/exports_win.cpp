// The entry points the spooler and GDI call. Each one is a complete call:
// it opens what it needs and releases it before returning; no exception
// leaves it.
#include "entry/ddk_win.h"
#include "entry/devmode_request.h"
#include "entry/module_win.h"
#include "entry/printer_event.h"
#include "settings/printer_store_win.h"

using namespace vq;

static_assert(sizeof(DEVMODEW) == kPublicSize);
static_assert(offsetof(DEVMODEW, dmFields) == offsetof(JobSettings, dmFields));
static_assert(offsetof(DEVMODEW, dmPrintQuality) == offsetof(JobSettings, dmPrintQuality));
static_assert(offsetof(DEVMODEW, dmFormName) == offsetof(JobSettings, dmFormName));
static_assert(offsetof(DEVMODEW, dmLogPixels) == offsetof(JobSettings, dmLogPixels));
static_assert(offsetof(DEVMODEW, dmICMMethod) == offsetof(JobSettings, dmICMMethod));
static_assert(offsetof(DEVMODEW, dmPanningHeight) == offsetof(JobSettings, dmPanningHeight));

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_module = instance;
      g_tlsSlot = TlsAlloc();
      break;
    case DLL_PROCESS_DETACH:
      if (g_tlsSlot != TLS_OUT_OF_INDEXES) TlsFree(g_tlsSlot);
      g_tlsSlot = TLS_OUT_OF_INDEXES;
      break;
    default:
      break;
  }
  return TRUE;
}

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) noexcept {
  try {
    if (!info) {
      auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam);
      if (!header) return -1;
      Win32PrinterStore printer(header->hPrinter, false);
      const DevModeRequest request{header->hPrinter ? &printer : nullptr, header->pdmIn,
                                   header->pdmOut, reinterpret_cast<uint32_t*>(&header->cbOut),
                                   header->fMode};
      return HandleDevModeRequest(request, Services());
    }
    // Printing Preferences is not offered yet: the host is told the sheet
    // cannot open, and every other reason is acknowledged.
    return info->Reason == PROPSHEETUI_REASON_INIT ? -1 : 1;
  } catch (...) {
    return -1;
  }
}

BOOL WINAPI DrvPrinterEvent(LPWSTR printerName, INT event, DWORD, LPARAM) noexcept {
  try {
    switch (event) {
      case PRINTER_EVENT_INITIALIZE:
        return SeedNewPrinter(U(printerName), Services());
      case PRINTER_EVENT_ADD_CONNECTION:
        return ConnectPrinterOnce(U(printerName), Services());
      default:
        return TRUE;
    }
  } catch (...) {
    return FALSE;
  }
}

// Also exported as DrvUpgradePrinter: the driver keeps nothing that an
// upgrade or a driver event would have to convert.
BOOL WINAPI DrvDriverEvent(DWORD, DWORD, LPBYTE, LPARAM) noexcept { return TRUE; }

}  // extern "C"
