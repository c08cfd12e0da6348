#include "devinfo/difm_loader_win.h"

#include <windows.h>

#include "base/sibling_win.h"

namespace vq {
namespace {

DifmApi LoadDeviceInfo() {
  DifmApi api;
  HMODULE h = LoadSiblingModule(L"VQ312DI.dll");
  if (!h) return api;
  // Pinned: the spooler may unload and reload this module many times in one
  // process; the device module then stays loaded instead of piling up
  // references, and the function pointers below stay valid.
  HMODULE pinned = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<const wchar_t*>(h), &pinned);
#define VQ_DIFM_RESOLVE(name, ret, params) \
  api.name = reinterpret_cast<ret(*) params>(reinterpret_cast<void*>(GetProcAddress(h, #name)));
  VQ_DIFM_FUNCTIONS(VQ_DIFM_RESOLVE)
#undef VQ_DIFM_RESOLVE
  if (!api.Complete()) api = DifmApi{};
  return api;
}

}  // namespace

const DifmApi& DeviceInfoApi() {
  static const DifmApi api = LoadDeviceInfo();
  return api;
}

}  // namespace vq
