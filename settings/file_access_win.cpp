#include "settings/file_access_win.h"

#include <algorithm>

#include "base/text_win.h"

namespace vq {

bool Win32FileAccess::FolderExists(const std::u16string& folder) {
  const DWORD attributes = GetFileAttributesW(W(folder.c_str()));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileAccess::FileExists(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(W(path.c_str()));
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileAccess::ReadStart(const std::u16string& path, uint8_t* buffer, size_t size,
                                size_t* got, uint64_t* fileSize) {
  HANDLE file = CreateFileW(W(path.c_str()), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER length{};
  DWORD read = 0;
  const bool ok = GetFileSizeEx(file, &length) &&
                  ReadFile(file, buffer, static_cast<DWORD>(std::min<size_t>(size, MAXDWORD)),
                           &read, nullptr);
  CloseHandle(file);
  *got = read;
  *fileSize = static_cast<uint64_t>(length.QuadPart);
  return ok;
}

}  // namespace vq
