// VQ312DI.dll: the device-information module's Windows entry point. Texts
// follow the user's UI language.
#include <windows.h>

#include "devinfo/device_info.h"

namespace {

vq::Language UserLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? vq::Language::kChinese
                                                                   : vq::Language::kEnglish;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) vq::SetDifmLanguageSource(&UserLanguage);
  return TRUE;
}
