// LoadOneString2: how the driver's sibling modules fetch texts by number with
// a device-information handle of their own (DifmMapper), the same way the
// pages of this module do.
#include <windows.h>

#include "uicore/texts_win.h"

extern "C" BOOL WINAPI LoadOneString2(HANDLE deviceInfo, UINT textId, LPWSTR buffer,
                                      DWORD bufferBytes) noexcept {
  try {
    return vq::LoadTextWithHandle(deviceInfo, textId, buffer, bufferBytes);
  } catch (...) {
    return FALSE;
  }
}
