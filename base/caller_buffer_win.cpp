#include "base/caller_buffer_win.h"

#include <windows.h>

#include <cstring>

namespace vq {

bool IsWritable(void* p, size_t n) {
  if (!p) return false;
  auto* cur = static_cast<unsigned char*>(p);
  auto* const end = cur + n;
  constexpr DWORD kWritable =
      PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  while (cur < end) {
    MEMORY_BASIC_INFORMATION mbi;
    if (!VirtualQuery(cur, &mbi, sizeof mbi) || mbi.State != MEM_COMMIT ||
        (mbi.Protect & (PAGE_GUARD | PAGE_NOACCESS)) || !(mbi.Protect & kWritable))
      return false;
    cur = static_cast<unsigned char*>(mbi.BaseAddress) + mbi.RegionSize;
  }
  return true;
}

bool CopyToCaller(void* dst, const void* src, size_t n) {
  if (n == 0) return true;
  if (!IsWritable(dst, n)) return false;
  std::memcpy(dst, src, n);
  return true;
}

}  // namespace vq
