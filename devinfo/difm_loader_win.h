// VQ312DI.dll's functions, for the UI module's Win32 side.
#pragma once

#include "base/handles_win.h"
#include "devinfo/difm_api.h"

namespace vq {

// Loaded once per process from the module's folder and kept: every spooler
// call maps it, so it must be cheap to reach. When the file is missing or
// lacks a function, every pointer is null and each mapping fails.
const DifmApi& DeviceInfoApi();

}  // namespace vq

namespace vq {

namespace handles {
inline void UnmapDeviceInfo(DifmHandle h) {
  if (const auto unmap = DeviceInfoApi().DifmUnMapper) unmap(kDifmMagic, h);
}
}  // namespace handles

// A mapping of the device-information module, unmapped with the owner.
using UniqueDeviceInfo = UniqueHandle<DifmHandle, handles::UnmapDeviceInfo>;

}  // namespace vq
