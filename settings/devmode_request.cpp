#include "settings/devmode_request.h"

#include <cstring>

#include "settings/printer_store.h"

namespace vq {

void BuildStartSettings(const void* devModeIn, PrinterStore* printer, const DriverServices& svc,
                        JobSettings* out, bool* callerRecordKept, bool* usedFallbackPastUser) {
  *callerRecordKept = false;
  *usedFallbackPastUser = false;
  if (devModeIn) {
    CopyDevModeBytes(devModeIn, kUnknownSize, out);
    if (ValidateJobSettings(out, printer, svc)) {
      *callerRecordKept = true;
      return;
    }
  }
  uint32_t needed = 0;
  if (GetUserDefaultSettings(printer, out, &needed) && ValidateJobSettings(out, printer, svc))
    return;
  *usedFallbackPastUser = true;
  if (GetPrinterDefaultSettings(printer, out, &needed) && ValidateJobSettings(out, printer, svc))
    return;
  SetDefaultJobSettings(out, svc);
}

int32_t HandleDevModeRequest(const DevModeRequest& request, const DriverServices& svc) {
  if (request.mode == 0 || !request.devModeOut) {
    if (request.outSize) *request.outSize = kJobSettingsSize;
    return static_cast<int32_t>(kJobSettingsSize);
  }
  if (!(request.mode & kDmCopy) || (request.mode & kDmNoPermission)) return 1;

  // Keep what the caller asked for before anything writes the output: the
  // two buffers are often one.
  JobSettings in{};
  if (request.devModeIn) CopyDevModeBytes(request.devModeIn, kUnknownSize, &in);

  JobSettings result{};
  bool kept = false, pastUser = false;
  BuildStartSettings(request.devModeIn ? &in : nullptr, request.printer, svc, &result, &kept,
                     &pastUser);

  // A caller that asked for a portrait or landscape page keeps it when its
  // own record was refused, unless the result locks the orientation.
  const bool orientationLocked = result.OrientationLock & (kLockPortrait | kLockLandscape);
  if (request.devModeIn && pastUser && !orientationLocked && (request.mode & kDmModify) &&
      (in.dmFields & kDmOrientation) && (in.dmOrientation == 1 || in.dmOrientation == 2))
    result.dmOrientation = in.dmOrientation;

  std::memcpy(request.devModeOut, &result, kJobSettingsSize);
  return 1;
}

}  // namespace vq
