// VQ312CC.dll: the colour preview renderer. MCC4Preview's caller passes three
// bare pointers and no lengths; the packed bitmap's own header says how long
// it is. So that a header that claims more than the caller holds cannot make
// the module read or write past what is mapped, each pointer is bounded by
// the committed memory region it lies in before the portable renderer sees
// it. The colour page, which knows the resource's true size, refuses a
// bitmap whose header disagrees with it before calling.
#include <windows.h>

#include <cstdint>

#include "modules/cc/colour_preview.h"

namespace {

constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
constexpr DWORD kWritable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE |
                            PAGE_EXECUTE_WRITECOPY;

// The bytes from `p` on that are committed with access `wanted`, counted
// until `enough` (a region or two: each query is a call into the system);
// 0 when `p` is not such memory.
size_t AccessibleBytes(const void* p, DWORD wanted, size_t enough) {
  size_t total = 0;
  auto* at = static_cast<const uint8_t*>(p);
  for (int regions = 0; regions < 64 && total < enough; ++regions) {
    MEMORY_BASIC_INFORMATION mbi{};
    if (!VirtualQuery(at, &mbi, sizeof mbi) || mbi.State != MEM_COMMIT ||
        !(mbi.Protect & wanted) || (mbi.Protect & PAGE_GUARD))
      break;
    const auto* end = static_cast<const uint8_t*>(mbi.BaseAddress) + mbi.RegionSize;
    total += static_cast<size_t>(end - at);
    at = end;
  }
  return total;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// Renders the packed bitmap `source` into `dest` as this printer would print
// it with the colour block `colourBlock` (80 bytes, see colour_preview.h).
// 1 when rendered; 0 when refused, `dest` untouched.
extern "C" int WINAPI MCC4Preview(const void* source, void* dest, const void* colourBlock) noexcept {
  if (!source || !dest || !colourBlock ||
      AccessibleBytes(colourBlock, kReadable, vq::cc::kColourBlockSize) < vq::cc::kColourBlockSize ||
      AccessibleBytes(source, kReadable, vq::cc::kDibHeaderBytes) < vq::cc::kDibHeaderBytes)
    return 0;
  // What the header claims (its dimensions are capped, so this is bounded),
  // then how much of that is really there on both sides.
  const auto* bytes = static_cast<const uint8_t*>(source);
  vq::cc::DibShape claimed{};
  if (vq::cc::ReadDibHeader(bytes, &claimed) != vq::cc::PreviewStatus::kOk) return 0;
  const size_t length = static_cast<size_t>(claimed.totalSize);
  const vq::cc::ColourBlock block = vq::cc::ReadColourBlock(colourBlock);
  const vq::cc::PreviewStatus status = vq::cc::RenderColourPreview(
      bytes, AccessibleBytes(source, kReadable, length), static_cast<uint8_t*>(dest),
      AccessibleBytes(dest, kWritable, length), block);
  return status == vq::cc::PreviewStatus::kOk ? 1 : 0;
}
