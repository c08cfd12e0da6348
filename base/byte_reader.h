// Binary records read and written with an explicit byte order. Reads past
// the end give 0, never a fault, so a short or lying record yields zeros that
// the caller's checks then refuse. Offsets are 64-bit and never come near
// overflow: callers add at most a few bytes to positions inside the span.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace vq {

class ByteReader {
 public:
  ByteReader(const void* data, size_t size)
      : data_(static_cast<const uint8_t*>(data), data ? size : 0) {}
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  size_t size() const { return data_.size(); }
  uint8_t U8(uint64_t off) const { return off < data_.size() ? data_[off] : 0; }
  uint16_t U16LE(uint64_t off) const { return uint16_t(U8(off) | U8(off + 1) << 8); }
  uint16_t U16BE(uint64_t off) const { return uint16_t(U8(off) << 8 | U8(off + 1)); }
  uint32_t U32LE(uint64_t off) const { return U16LE(off) | uint32_t{U16LE(off + 2)} << 16; }
  uint32_t U32BE(uint64_t off) const { return uint32_t{U16BE(off)} << 16 | U16BE(off + 2); }

  // A fixed-width single-byte text field up to its terminator (or its width).
  std::string Text(uint64_t off, size_t width) const {
    std::string text;
    for (size_t i = 0; i < width; ++i) {
      const uint8_t c = U8(off + i);
      if (c == 0) break;
      text.push_back(static_cast<char>(c));
    }
    return text;
  }
  // The same for a field of `units` UTF-16 units, little-endian.
  std::u16string Text16(uint64_t off, size_t units) const {
    std::u16string text;
    for (size_t i = 0; i < units; ++i) {
      const char16_t c = U16LE(off + 2 * i);
      if (c == 0) break;
      text.push_back(c);
    }
    return text;
  }

 private:
  std::span<const uint8_t> data_;
};

// Writes into a buffer the caller sized for the record.
inline void PutU32LE(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

// A fixed-width single-byte text field, cut to leave room for its
// terminator; the rest of the field is left as it was (callers start from
// zeroed records).
inline void PutText(uint8_t* field, size_t width, std::string_view text) {
  if (width == 0) return;
  std::memcpy(field, text.data(), std::min(text.size(), width - 1));
}

}  // namespace vq
