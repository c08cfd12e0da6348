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

// One row of the install sequence: a REG_DWORD from an install default
// (with bits added) or a constant, or a REG_BINARY of zero bytes.
struct InstallValue {
  const char16_t* name;
  uint32_t type;
  int32_t regId;      // DifmLoadRegData id; -1 for a constant
  uint32_t value;     // constant, or bits added to the install default
  uint32_t zeroBytes; // REG_BINARY size
  bool mayFail;       // a failed write does not stop the installation
};

// The install sequence in the order it is written.
extern const InstallValue kInstallValues[];
extern const size_t kInstallValueCount;

}  // namespace vq
