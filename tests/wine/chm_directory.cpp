#include "tests/wine/chm_directory.h"

#include <cstdint>
#include <cstring>

namespace vq::wine {
namespace {

// Little-endian reads that fail instead of reading past the end.
class Bytes {
 public:
  explicit Bytes(const std::vector<unsigned char>& b) : b_(b) {}
  bool Tag(uint64_t at, const char* tag) const {
    return at + 4 <= b_.size() && std::memcmp(&b_[at], tag, 4) == 0;
  }
  bool U32(uint64_t at, uint32_t* v) const {
    if (at + 4 > b_.size()) return false;
    *v = b_[at] | b_[at + 1] << 8 | b_[at + 2] << 16 | uint32_t(b_[at + 3]) << 24;
    return true;
  }
  bool U64(uint64_t at, uint64_t* v) const {
    uint32_t lo = 0, hi = 0;
    if (!U32(at, &lo) || !U32(at + 4, &hi)) return false;
    *v = uint64_t(hi) << 32 | lo;
    return true;
  }
  // ENCINT: seven bits a byte, most significant first, high bit = more.
  bool EncInt(uint64_t* at, uint64_t end, uint64_t* v) const {
    *v = 0;
    for (int n = 0; n < 9 && *at < end; ++n) {
      const unsigned char c = b_[(*at)++];
      *v = *v << 7 | (c & 0x7F);
      if (!(c & 0x80)) return true;
    }
    return false;
  }
  const unsigned char* At(uint64_t at) const { return b_.data() + at; }

 private:
  const std::vector<unsigned char>& b_;
};

constexpr uint64_t kDirectoryOffsetField = 0x48;  // ITSF: directory section offset
constexpr uint32_t kNoChunk = 0xFFFFFFFF;

}  // namespace

bool ReadChmDirectory(const std::vector<unsigned char>& file, std::vector<std::string>* names) {
  const Bytes b(file);
  uint32_t version = 0;
  uint64_t dir = 0;
  if (!b.Tag(0, "ITSF") || !b.U32(4, &version) || version < 2 || version > 3 ||
      !b.U64(kDirectoryOffsetField, &dir) || !b.Tag(dir, "ITSP"))
    return false;
  uint32_t headerLength = 0, chunkSize = 0, chunk = 0, chunkCount = 0;
  if (!b.U32(dir + 0x08, &headerLength) || !b.U32(dir + 0x10, &chunkSize) ||
      !b.U32(dir + 0x20, &chunk) || !b.U32(dir + 0x2C, &chunkCount) || chunkSize < 0x20)
    return false;
  const uint64_t first = dir + headerLength;
  names->clear();
  // Listing chunks are chained; the count bounds the walk against a loop.
  for (uint32_t walked = 0; chunk != kNoChunk; ++walked) {
    if (walked >= chunkCount || chunk >= chunkCount) return false;
    const uint64_t base = first + uint64_t(chunk) * chunkSize;
    uint32_t freeSpace = 0, next = 0;
    if (base + chunkSize > file.size() || !b.Tag(base, "PMGL") || !b.U32(base + 4, &freeSpace) ||
        !b.U32(base + 0x10, &next) || freeSpace > chunkSize - 0x14)
      return false;
    const uint64_t end = base + chunkSize - freeSpace;
    for (uint64_t at = base + 0x14; at < end;) {
      uint64_t length = 0, section = 0, offset = 0, size = 0;
      if (!b.EncInt(&at, end, &length) || length > end - at) return false;
      names->emplace_back(reinterpret_cast<const char*>(b.At(at)), size_t(length));
      at += length;
      if (!b.EncInt(&at, end, &section) || !b.EncInt(&at, end, &offset) ||
          !b.EncInt(&at, end, &size))
        return false;
    }
    chunk = next;
  }
  return true;
}

}  // namespace vq::wine
