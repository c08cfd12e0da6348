#include "entry/module_win.h"

#include "settings/printer_store_win.h"

namespace vq {

HINSTANCE g_module = nullptr;
DWORD g_tlsSlot = TLS_OUT_OF_INDEXES;

namespace {

std::wstring FolderOf(HMODULE module) {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring folder(path, n < MAX_PATH ? n : 0);
  const size_t slash = folder.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

DifmApi LoadDeviceInfo() {
  DifmApi api;
  const std::wstring path = ModuleDirectory() + L"\\VQ312DI.dll";
  HMODULE h = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!h) return api;
  // Pinned: the spooler may unload and reload this module many times in one
  // process; the device module then stays loaded instead of piling up
  // references, and the function pointers below stay valid.
  HMODULE pinned = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, path.c_str(), &pinned);
#define VQ_DIFM_RESOLVE(name, ret, params) \
  api.name = reinterpret_cast<ret(*) params>(reinterpret_cast<void*>(GetProcAddress(h, #name)));
  VQ_DIFM_FUNCTIONS(VQ_DIFM_RESOLVE)
#undef VQ_DIFM_RESOLVE
  if (!api.Complete()) api = DifmApi{};
  return api;
}

}  // namespace

const std::wstring& ModuleDirectory() {
  static const std::wstring folder = FolderOf(g_module);
  return folder;
}

const DifmApi& DeviceInfoApi() {
  static const DifmApi api = LoadDeviceInfo();
  return api;
}

const DriverServices& Services() {
  static Win32Spooler spooler;
  static const DriverServices services{&DeviceInfoApi(), &spooler};
  return services;
}

}  // namespace vq
