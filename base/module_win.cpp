#include "base/module_win.h"

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

}  // namespace

const std::wstring& ModuleDirectory() {
  static const std::wstring folder = FolderOf(g_module);
  return folder;
}

}  // namespace vq
