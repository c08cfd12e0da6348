#include "base/sibling_win.h"

#include <string>

#include "base/activation_win.h"
#include "base/module_win.h"

namespace vq {

namespace {
constexpr size_t kMaxSiblingPath = 256;
}

HMODULE LoadSiblingModule(std::wstring_view folder, const wchar_t* file) {
  std::wstring path(folder);
  path += L'\\';
  path += file;
  if (path.size() >= kMaxSiblingPath) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
  }
  return CallInModuleContext(static_cast<HMODULE>(nullptr), [&] {
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  });
}

HMODULE LoadSiblingModule(const wchar_t* file) { return LoadSiblingModule(ModuleDirectory(), file); }

}  // namespace vq
