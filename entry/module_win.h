// Process-wide state of VQ312UI.dll: its instance, the thread-local slot of
// open property sheets, and the sibling modules it loads from its own folder.
#pragma once

#include <windows.h>

#include <string>

#include "devinfo/difm_api.h"
#include "settings/job_settings.h"

namespace vq {

extern HINSTANCE g_module;
extern DWORD g_tlsSlot;

// The folder this module was loaded from (the driver directory), without
// the final backslash.
const std::wstring& ModuleDirectory();

// VQ312DI.dll's functions. Loaded once per process from the module's folder
// and kept: every spooler call maps it, so it must be cheap to reach. When
// the file is missing every function pointer is null and each mapping fails.
const DifmApi& DeviceInfoApi();

// The device-information module and the real spooler, for the core.
const DriverServices& Services();

}  // namespace vq
