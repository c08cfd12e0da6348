// The entry points the spooler and GDI call. Each one is a complete call:
// it opens what it needs and releases it before returning; no exception
// leaves it.
#include "base/ddk_win.h"
#include "base/caller_buffer_win.h"
#include "base/module_win.h"
#include "settings/services_win.h"
#include "entry/printer_event.h"
#include "entry/spooler_queries.h"
#include "settings/printer_cache_win.h"
#include "settings/printer_store_win.h"
#include "base/activation_win.h"

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
      IsolationCleanup();
      if (g_tlsSlot != TLS_OUT_OF_INDEXES) TlsFree(g_tlsSlot);
      g_tlsSlot = TLS_OUT_OF_INDEXES;
      break;
    default:
      break;
  }
  return TRUE;
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

DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR deviceName, WORD capability,
                                   PVOID output, PDEVMODEW) noexcept {
  try {
    // Wine's DeviceCapabilitiesW passes no printer handle: the printer is
    // then found by its name, and only for the answers that need its data.
    Win32PrinterStore borrowed(hPrinter, false);
    PrinterStore* printer = hPrinter ? &borrowed : nullptr;
    if (!hPrinter && CapabilityNeedsPrinterData(capability)) printer = PrinterByName(deviceName);
    const CapabilityAnswer answer =
        AnswerCapability(printer, U(deviceName), capability, output != nullptr, Services());
    if (output && !CopyToCaller(output, answer.output.data(), answer.output.size())) return 0;
    return answer.result;
  } catch (...) {
    return 0;
  }
}

BOOL WINAPI DrvConvertDevMode(LPWSTR printerName, PDEVMODEW in, PDEVMODEW out, PLONG needed,
                              DWORD mode) noexcept {
  try {
    // The spooler calls made on the way set errors of their own; the caller
    // sees only the one the conversion reports.
    const DWORD callersError = GetLastError();
    uint32_t error = 0;
    int32_t size = needed ? static_cast<int32_t>(*needed) : 0;
    const bool ok = ConvertDevMode(U(printerName), in, out, needed ? &size : nullptr, mode,
                                   Services(), &error);
    if (needed) *needed = size;
    SetLastError(error ? error : callersError);
    return ok;
  } catch (...) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
}

BOOL WINAPI DrvQueryJobAttributes(HANDLE hPrinter, PDEVMODEW devMode, DWORD level,
                                  LPBYTE info) noexcept {
  try {
    JobAttributes a{};
    if (!QueryJobAttributes(hPrinter != nullptr, devMode, level, &a, Services()) || !info)
      return FALSE;
    ATTRIBUTE_INFO_3_LAYOUT out{};
    out.dwJobNumberOfPagesPerSide = a.jobPagesPerSide;
    out.dwDrvNumberOfPagesPerSide = a.drvPagesPerSide;
    out.dwNupBorderFlags = a.nupBorderFlags;
    out.dwJobPageOrderFlags = a.jobPageOrderFlags;
    out.dwDrvPageOrderFlags = a.drvPageOrderFlags;
    out.dwJobNumberOfCopies = a.jobCopies;
    out.dwDrvNumberOfCopies = a.drvCopies;
    out.dwColorOptimization = a.colorOptimization;
    out.dmPrintQuality = a.printQuality;
    out.dmYResolution = a.yResolution;
    const size_t size = level == 1 ? sizeof(ATTRIBUTE_INFO_1)
                        : level == 2 ? sizeof(ATTRIBUTE_INFO_2)
                                     : sizeof(ATTRIBUTE_INFO_3_LAYOUT);
    return CopyToCaller(info, &out, size);
  } catch (...) {
    return FALSE;
  }
}

BOOL WINAPI DevQueryPrintEx(DEVQUERYPRINT_INFO* info) noexcept {
  try {
    if (!info) return FALSE;
    Win32PrinterStore printer(info->hPrinter, false);
    return CheckJobDevMode(info->pDevMode, info->hPrinter ? &printer : nullptr, Services());
  } catch (...) {
    return FALSE;
  }
}

// Also exported as DrvUpgradePrinter: the driver keeps nothing that an
// upgrade or a driver event would have to convert.
BOOL WINAPI DrvDriverEvent(DWORD, DWORD, LPBYTE, LPARAM) noexcept { return TRUE; }

}  // extern "C"
