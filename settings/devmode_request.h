// The no-UI device-mode request: DrvDocumentPropertySheets called without a
// property sheet (DocumentProperties without DM_PROMPT, the spooler storing a
// new printer's default).
#pragma once

#include <cstdint>

#include "settings/job_settings.h"

namespace vq {

// DocumentProperties fMode bits.
inline constexpr uint32_t kDmUpdate = 1;
inline constexpr uint32_t kDmCopy = 2;
inline constexpr uint32_t kDmPrompt = 4;
inline constexpr uint32_t kDmModify = 8;
inline constexpr uint32_t kDmNoPermission = 0x20;
inline constexpr uint32_t kDmUserDefault = 0x40;

// The fields of DOCUMENTPROPERTYHEADER the request reads and writes.
struct DevModeRequest {
  PrinterStore* printer;  // the caller's printer handle; null when it gave none
  const void* devModeIn;  // caller-owned; read only up to its dmSize + dmDriverExtra
  void* devModeOut;       // caller-owned, 1384 bytes when given
  uint32_t* outSize;      // cbOut
  uint32_t mode;          // fMode
};

// Returns the size needed (1384) for a size query, else 1.
int32_t HandleDevModeRequest(const DevModeRequest& request, const DriverServices& svc);

// The start record of a job or a sheet: the caller's device mode when it
// validates, else the per-user default, the printer default or the built-in
// defaults, the first that validates. *usedFallbackPastUser tells whether
// the per-user default was passed over.
void BuildStartSettings(const void* devModeIn, PrinterStore* printer, const DriverServices& svc,
                        JobSettings* out, bool* callerRecordKept, bool* usedFallbackPastUser);

}  // namespace vq
