#include "uicore/dialog_layout.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace vq {

int32_t MulDivRounded(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  const int64_t half = divisor / 2;
  const int64_t q = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  // MulDiv's own overflow mark; INT32_MIN is refused as well, as Windows does.
  if (q > std::numeric_limits<int32_t>::max() || q < -std::numeric_limits<int32_t>::max())
    return -1;
  return static_cast<int32_t>(q);
}

int32_t ScaleValue(uint32_t dpi, int32_t value) {
  if (dpi == kDesignDpi) return value;
  return MulDivRounded(value, static_cast<int32_t>(dpi), static_cast<int32_t>(kDesignDpi));
}

int ScaleByDpi(uint32_t dpi, int32_t value, int32_t* scaled, int32_t* code) {
  if (scaled) *scaled = ScaleValue(dpi, value);
  if (code) *code = kLayoutOk;
  return 1;
}

PixelRect ScaleLayoutRow(const LayoutRow& row, DpiPair dpi) {
  return {ScaleValue(dpi.x, row.x), ScaleValue(dpi.y, row.y), ScaleValue(dpi.x, row.cx),
          ScaleValue(dpi.y, row.cy)};
}

PixelRect ScaleSize(int32_t width, int32_t height, DpiPair dpi) {
  return {0, 0, ScaleValue(dpi.x, width), ScaleValue(dpi.y, height)};
}

SheetFrameLayout GrowSheetFrame(const SheetFrameLayout& design, DpiPair dpi,
                                int32_t actualTabWidth, int32_t actualTabHeight) {
  SheetFrameLayout f = design;
  int32_t* buttons[] = {f.ok, f.cancel, f.apply, f.help};
  const int32_t dx = actualTabWidth - ScaleValue(dpi.x, design.tab[2] - design.tab[0]);
  const int32_t dy = actualTabHeight - ScaleValue(dpi.y, design.tab[3] - design.tab[1]);
  if (dx > 0) {
    f.width += dx;
    f.tab[2] += dx;
    for (int32_t* b : buttons) {
      b[0] += dx;
      b[2] += dx;
    }
  }
  if (dy > 0) {
    f.height += dy;
    f.tab[3] += dy;
    for (int32_t* b : buttons) {
      b[1] += dy;
      b[3] += dy;
    }
  }
  return f;
}

PixelRect ScaleFrameRect(const int32_t (&r)[4], DpiPair dpi) {
  return {ScaleValue(dpi.x, r[0]), ScaleValue(dpi.y, r[1]), ScaleValue(dpi.x, r[2] - r[0]),
          ScaleValue(dpi.y, r[3] - r[1])};
}

SheetFramePlacement PlaceSheetFrame(const SheetFrameLayout& design, DpiPair dpi,
                                    int32_t actualTabWidth, int32_t actualTabHeight) {
  const SheetFrameLayout f = GrowSheetFrame(design, dpi, actualTabWidth, actualTabHeight);
  return {f.width,
          f.height,
          ScaleFrameRect(f.ok, dpi),
          ScaleFrameRect(f.cancel, dpi),
          ScaleFrameRect(f.apply, dpi),
          ScaleFrameRect(f.help, dpi),
          ScaleFrameRect(f.tab, dpi)};
}

IconLoadSize DpiIconLoadSize(DpiPair dpi, int32_t artWidth, int32_t artHeight) {
  const int32_t cx =
      MulDivRounded(artWidth, static_cast<int32_t>(dpi.x), static_cast<int32_t>(kIconArtDpi));
  const int32_t cy =
      MulDivRounded(artHeight, static_cast<int32_t>(dpi.y), static_cast<int32_t>(kIconArtDpi));
  // Large art is never shrunk: it is a picture, not a symbol, and a scaled
  // copy of it would only lose detail.
  if (cx < 100 && cy < 100) return {cx, cy};
  return {0, 0};
}

bool GroupIconArtSize(const uint8_t* directory, size_t bytes, int32_t* width, int32_t* height) {
  constexpr size_t kHeader = 6, kEntry = 14;
  if (!directory || bytes < kHeader) return false;
  const size_t count = directory[4] | directory[5] << 8;
  if (count == 0 || bytes < kHeader + count * kEntry) return false;
  int32_t bestW = 0, bestH = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = directory + kHeader + i * kEntry;
    const int32_t w = entry[0] ? entry[0] : 256, h = entry[1] ? entry[1] : 256;
    if (w * h > bestW * bestH) bestW = w, bestH = h;
  }
  *width = bestW;
  *height = bestH;
  return true;
}

int FormatFixedPoint(uint32_t value, uint32_t divisor, bool usePoint, bool twoDigits,
                     char16_t* out, uint32_t outBytes, uint32_t* requiredBytes) {
  if (divisor == 0) divisor = 1;
  const uint32_t remainder = value % divisor;
  char text[48];
  int len = std::snprintf(text, sizeof text, usePoint ? "%u." : "%u,", value / divisor);

  // Leading zeros of the fraction: one for each power of ten of the divisor
  // that the remainder stays below, up to the digits shown. Each such step
  // also drops the remainder's last digit, so that what is left lines up
  // behind the zeros.
  const int digits = twoDigits ? 2 : 1;
  int zeros = 0;
  uint32_t rest = remainder;
  for (uint32_t p = divisor / 10; p > remainder; p /= 10) {
    if (zeros < digits) text[len++] = '0', ++zeros;
    if (rest >= 10) rest /= 10;
  }
  char tail[16] = "";
  if (zeros < digits) std::snprintf(tail, sizeof tail, "%.*u", digits - zeros, rest);
  // Truncation, not rounding: only the leading digits of what is left.
  if (rest != 0) {
    for (int i = 0; i < digits - zeros && tail[i]; ++i) text[len++] = tail[i];
  }
  text[len] = '\0';

  const uint32_t needed = static_cast<uint32_t>(len + 1) * sizeof(char16_t);
  if (requiredBytes) *requiredBytes = needed;
  if (out && outBytes >= needed) {
    for (int i = 0; i <= len; ++i) out[i] = static_cast<char16_t>(text[i]);
  }
  return 1;
}

int StripTabs(char16_t* text) {
  if (!text) return 0;
  char16_t* write = text;
  for (const char16_t* read = text; *read; ++read) {
    if (*read != u'\t') *write++ = *read;
  }
  if (*write == u'\0') return 0;  // nothing moved: there was no TAB
  *write = u'\0';
  return 1;
}

int32_t ParseLeadingInteger(const char16_t* text) {
  if (!text) return 0;
  while (*text == u' ' || (*text >= u'\t' && *text <= u'\r')) ++text;
  const bool negative = *text == u'-';
  if (*text == u'-' || *text == u'+') ++text;
  int64_t value = 0;
  for (; *text >= u'0' && *text <= u'9'; ++text) {
    value = value * 10 + (*text - u'0');
    if (value > int64_t{1} << 32) break;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

EditIntegerReading ReadEditIntegerText(const char16_t* text) {
  EditIntegerReading r{};
  size_t n = 0;
  while (text && n < kEditIntegerChars && text[n]) ++n;
  if (n == 0) {
    r.value = kEmptyEditInteger;
    return r;
  }
  char16_t read[kEditIntegerChars + 1] = {};
  std::memcpy(read, text, n * sizeof(char16_t));
  r.value = ParseLeadingInteger(read);
  const size_t skip = (read[0] == u'0' && n > 1) ? 1 : 0;
  r.rewrite = skip != 0;
  std::memcpy(r.text, read + skip, (n - skip) * sizeof(char16_t));
  return r;
}

bool SignedNumberAcceptsChar(char16_t ch, uint32_t selStart, uint32_t selEnd,
                             bool textHasMinus) {
  if ((ch >= u'0' && ch <= u'9') || ch == u'\b') return true;
  if (ch != u'-') return false;
  const uint32_t first = selStart < selEnd ? selStart : selEnd;
  return first == 0 && (!textHasMinus || selStart != selEnd);
}

bool SignedNumberNeedsZero(const char16_t* text) {
  return !text || text[0] == u'\0' || (text[0] == u'-' && text[1] == u'\0');
}

int32_t CheckPaste(const DibPixels& src, const DibPixels& dst, int32_t x, int32_t y) {
  if (!src.bits || !dst.bits) return kLayoutMissingArgument;
  if (x < 0 || y < 0 || src.width < 0 || src.height < 0 ||
      int64_t{src.width} + x > dst.width || int64_t{src.height} + y > dst.height)
    return kLayoutDoesNotFit;
  if ((src.bitsPerPixel != 8 && src.bitsPerPixel != 24) ||
      (dst.bitsPerPixel != 24 && dst.bitsPerPixel != 32))
    return kLayoutBadPixelFormat;
  return kLayoutOk;
}

int32_t PasteDibPixels(const DibPixels& src, const ColorEntry* colors, uint32_t colorCount,
                       const DibPixels& dst, int32_t x, int32_t y) {
  const int32_t code = CheckPaste(src, dst, x, y);
  if (code != kLayoutOk) return code;
  if (!colors) colorCount = 0;
  const size_t srcStride = DibStride(src.width, src.bitsPerPixel);
  const size_t dstStride = DibStride(dst.width, dst.bitsPerPixel);
  const size_t dstStep = dst.bitsPerPixel / 8;
  for (int32_t r = 0; r < src.height; ++r) {
    const int32_t srcRow = src.topDown ? r : src.height - r - 1;
    const int32_t dstRow = dst.topDown ? y + r : dst.height - (y + r) - 1;
    const uint8_t* s = src.bits + srcRow * srcStride;
    uint8_t* d = dst.bits + dstRow * dstStride + static_cast<size_t>(x) * dstStep;
    for (int32_t c = 0; c < src.width; ++c, d += dstStep) {
      if (src.bitsPerPixel == 8) {
        const uint8_t index = *s++;
        const ColorEntry e = index < colorCount ? colors[index] : ColorEntry{};
        d[0] = e.blue, d[1] = e.green, d[2] = e.red;
      } else {
        d[0] = s[0], d[1] = s[1], d[2] = s[2];
        s += 3;
      }
    }
  }
  return kLayoutOk;
}

}  // namespace vq
