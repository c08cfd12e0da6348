// Printers found by name for calls that come without a printer handle.
#pragma once

#include <windows.h>

#include "settings/printer_store.h"

namespace vq {

// Wine's DeviceCapabilitiesW (and any caller of DrvDeviceCapabilities
// without a handle) names the printer only. Opening it costs more than the
// printer-data reads the answer needs, so each name is opened once per
// process (PRINTER_ACCESS_USE) and the handle kept; the data itself is read
// fresh on every call. A kept handle the spooler no longer accepts (the
// printer was deleted and perhaps added again) is replaced on first use.
//
// Returns a store over the kept handle, or null when the printer cannot be
// opened. The store lives as long as the process.
PrinterStore* PrinterByName(const wchar_t* name);

}  // namespace vq
