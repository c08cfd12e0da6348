// Process-wide state of VQ312UI.dll: its instance, the thread-local slot of
// open property sheets, and the folder it was loaded from.
#pragma once

#include <windows.h>

#include <string>

namespace vq {

extern HINSTANCE g_module;
extern DWORD g_tlsSlot;

// The folder this module was loaded from (the driver directory), without
// the final backslash.
const std::wstring& ModuleDirectory();

}  // namespace vq
