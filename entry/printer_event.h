// DrvPrinterEvent's work: seeding a new printer's data from the
// device-information module, and the one-time connection read.
#pragma once

#include <cstdint>

#include "settings/job_settings.h"

namespace vq {

inline constexpr int32_t kPrinterEventAddConnection = 1;
inline constexpr int32_t kPrinterEventInitialize = 3;

// What the event returns: TRUE, FALSE, or -1 when the device-information
// module cannot be mapped or unmapped.
int32_t SeedNewPrinter(const char16_t* printerName, const DriverServices& svc);

// The first ADD_CONNECTION of a process reads the printer once (so the
// spooler caches the connection); later ones return FALSE.
int32_t ConnectPrinterOnce(const char16_t* printerName, const DriverServices& svc);

}  // namespace vq
