// The arithmetic and decisions behind dialog layout and the shared controls,
// kept apart from Win32 so it can be checked natively: DPI scaling of layout
// tables and of the sheet frame, the icon size rule, fixed-point text, the
// tab remover, the edit-field rules and the bitmap paster's pixel copy.
#pragma once

#include <cstddef>
#include <cstdint>

#include "uicore/layout.h"

namespace vq {

// Result codes of the layout and bitmap functions. The functions return
// non-zero for success and 0 for failure and, when given somewhere to put
// it, report one of these; pages collect them but never show them.
enum LayoutCode : int32_t {
  kLayoutOk = 0,
  kLayoutCallFailed = -1,       // a window, GDI or resource call failed
  kLayoutMissingArgument = -2,  // no window, no table, no bitmap
  kLayoutDoesNotFit = -4,       // the source bitmap overruns the destination
  kLayoutBadPixelFormat = -5,   // neither 8 nor 24 bits per source pixel
};

inline constexpr uint32_t kDesignDpi = 96;    // the tables' pixels
inline constexpr uint32_t kIconArtDpi = 192;  // the icon resources' pixels

struct DpiPair {
  uint32_t x = kDesignDpi;
  uint32_t y = kDesignDpi;
};

inline bool IsDesignDpi(DpiPair dpi) { return dpi.x == kDesignDpi && dpi.y == kDesignDpi; }

// Windows' MulDiv: a * b / c in 64 bits, rounded half away from zero; -1
// when c is 0 or the result does not fit in 32 bits.
int32_t MulDivRounded(int32_t a, int32_t b, int32_t c);

// A 96-DPI pixel value at `dpi`, rounded to nearest; 96 returns it as is.
int32_t ScaleValue(uint32_t dpi, int32_t value);

// The same with the out-parameter shape the pages use. Always succeeds.
int ScaleByDpi(uint32_t dpi, int32_t value, int32_t* scaled, int32_t* code = nullptr);

// A control's position and size, in the screen's pixels.
struct PixelRect {
  int32_t x, y, cx, cy;
  bool operator==(const PixelRect&) const = default;
};

// Where a layout row's control goes: x and cx with the horizontal DPI, y and
// cy with the vertical.
PixelRect ScaleLayoutRow(const LayoutRow& row, DpiPair dpi);

// A window size (w, h) in 96-DPI pixels, scaled.
PixelRect ScaleSize(int32_t width, int32_t height, DpiPair dpi);

// The sheet frame after the system laid it out: the frame layout grown by
// whatever the tab control's actual client size exceeds its scaled design
// size, and every rectangle then scaled. The growth is added to the 96-DPI
// values before scaling, so at a DPI above 96 the frame grows by a little
// more than the tab control did; that keeps the buttons clear of a tab
// control that a large dialog font made bigger than designed.
struct SheetFramePlacement {
  int32_t designWidth, designHeight;  // grown client size at 96 DPI, for AdjustWindowRect
  PixelRect ok, cancel, apply, help, tab;
};
SheetFrameLayout GrowSheetFrame(const SheetFrameLayout& design, DpiPair dpi,
                                int32_t actualTabWidth, int32_t actualTabHeight);
PixelRect ScaleFrameRect(const int32_t (&ltrb)[4], DpiPair dpi);
SheetFramePlacement PlaceSheetFrame(const SheetFrameLayout& design, DpiPair dpi,
                                    int32_t actualTabWidth, int32_t actualTabHeight);

// Icon resources are drawn for 192 DPI. The size to load an icon of
// artWidth x artHeight pixels at: half at 96 DPI and so on, rounded; but
// when either side reaches 100 pixels the icon is loaded at its natural size
// (the result is then 0 x 0, LoadImage's "natural size").
struct IconLoadSize {
  int32_t cx, cy;
  bool natural() const { return cx == 0 && cy == 0; }
};
IconLoadSize DpiIconLoadSize(DpiPair dpi, int32_t artWidth, int32_t artHeight);

// The art's size from an icon group's directory (an RT_GROUP_ICON resource:
// a 6-byte header, then 14-byte entries whose width and height bytes say 0
// for 256): the largest image, the one drawn for 192 DPI. False when the
// directory is cut short or holds no image. Reading it makes no GDI object,
// which a trial LoadImage would.
bool GroupIconArtSize(const uint8_t* directory, size_t bytes, int32_t* width, int32_t* height);

// value / divisor as text with one or two fraction digits, truncated, never
// rounded: "1.23" for 1234 / 1000, "12.0" for 1205 / 100 in one-digit mode.
// The separator is "." or ",". requiredBytes always receives the size of the
// text with its terminator in bytes; the text is copied only when `out` is
// given and outBytes is at least that. A divisor of 0 is taken as 1. The
// fraction digits are found from the divisor's powers of ten below the
// remainder, so two-digit mode is for divisors of 100 and up (15 / 10 in
// two-digit mode reads "1.05"). Always returns 1.
int FormatFixedPoint(uint32_t value, uint32_t divisor, bool usePoint, bool twoDigits,
                     char16_t* out, uint32_t outBytes, uint32_t* requiredBytes);

// Removes every TAB from a terminated UTF-16 string in place. 1 when there
// was one, else 0 and the string is untouched (also for null or empty).
int StripTabs(char16_t* text);

// The edit-integer rule: at most kEditIntegerChars characters are read; an
// empty field means kEmptyEditInteger; a leading "0" of a text longer than
// one character is dropped from the field (one per reading), and the value
// is the text's leading integer, as _wtoi reads it.
inline constexpr size_t kEditIntegerChars = 7;
inline constexpr int32_t kEmptyEditInteger = 2147483647;
struct EditIntegerReading {
  int32_t value;
  bool rewrite;         // the field's text must become `text`
  char16_t text[kEditIntegerChars + 1];
};
EditIntegerReading ReadEditIntegerText(const char16_t* text);

// _wtoi over UTF-16: spaces, an optional sign, then decimal digits; 0 when
// there are none; saturates at the int32 limits.
int32_t ParseLeadingInteger(const char16_t* text);

// The signed-number edit's key filter: digits and backspace always reach the
// edit; "-" only where it can be the sign, i.e. with the selection starting
// at 0 and, when the text has its sign already, replacing something; every
// other character is dropped.
bool SignedNumberAcceptsChar(char16_t ch, uint32_t selStart, uint32_t selEnd,
                             bool textHasMinus);

// Leaving a signed-number edit that holds nothing or only "-" sets "0".
bool SignedNumberNeedsZero(const char16_t* text);

// A DIB section's pixels as plain memory: bottom-up rows (the usual DIB
// order) unless topDown, each row padded to 4 bytes.
struct DibPixels {
  uint8_t* bits;
  int32_t width;
  int32_t height;  // positive
  uint16_t bitsPerPixel;
  bool topDown;
};
struct ColorEntry {  // RGBQUAD's layout
  uint8_t blue, green, red, reserved;
};
inline constexpr size_t DibStride(int32_t width, uint16_t bitsPerPixel) {
  return ((static_cast<size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// The code a paste would get, without making it: -2 for missing pixels, -4
// when the source would overrun the destination (negative x or y included),
// -5 for a source that is neither 8 nor 24 bits or a destination of fewer
// than 24 bits, which three bytes a pixel would overrun. The Win32 side asks
// first, so that it reads a colour table only for a paste that can happen.
int32_t CheckPaste(const DibPixels& src, const DibPixels& dst, int32_t x, int32_t y);

// Copies `src` into `dst` with its top-left corner at (x, y) of `dst`,
// counted from the top. 8-bit sources go through `colors` (indexes past
// colorCount come out black), 24-bit sources are copied as they are; each
// pixel writes blue, green, red and leaves a 32-bit destination's fourth
// byte alone. Returns CheckPaste's code.
int32_t PasteDibPixels(const DibPixels& src, const ColorEntry* colors, uint32_t colorCount,
                       const DibPixels& dst, int32_t x, int32_t y);

}  // namespace vq
