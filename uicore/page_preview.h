// The paper picture of the basic, colour and advanced pages: the geometry
// and the choices, apart from the drawing (page_preview_win.h), so that the
// arithmetic is tested without a screen.
//
// Every length here is in 0.1 mm, as the paper records hold them; every
// position is in pixels of the frame's client area.
#pragma once

#include <cstdint>
#include <string>

#include "devinfo/paper_media.h"

namespace vq::preview {

// Which frame a page draws in, the bitmap stretched behind the sheet, and
// the control that shows the orientation picture (0: none).
struct PreviewMode {
  uint32_t mode;
  uint32_t frameControl;
  uint16_t background;
  uint32_t pictureControl;
};
inline constexpr PreviewMode kPreviewModes[] = {
    {1, 1077, 241, 1078},  // kept for a page that wants both pictures
    {2, 1103, 211, 1105},  // basic settings page
    {3, 1163, 211, 0},
    {4, 1300, 241, 0},     // colour page
    {5, 1299, 241, 0},     // advanced page
};
// The row of `mode`, or null for a mode that does not exist.
const PreviewMode* FindMode(uint32_t mode);

// Paper kinds the drawing tells apart (paperLayout of the record).
inline constexpr uint32_t kLayoutLabels = 0;        // die-cut labels on a liner
inline constexpr uint32_t kLayoutBlackMark = 1;
inline constexpr uint32_t kLayoutContinuous = 2;
inline constexpr uint32_t kLayoutHole = 3;
inline constexpr uint32_t kLayoutFanFold = 7;
inline constexpr uint32_t kLayoutRoundLabels = 16;  // as 0, rounded corners
inline constexpr uint32_t kLayoutBig = 128;         // from here: the large pictures

// The paper's outer size: labels on a liner count the liner beside them and
// one gap along the feed.
struct OuterSize {
  uint32_t width, length;
};
OuterSize PreviewSize(const PaperInfo& paper);

// The width and length written along the edges: "100.0" and the millimetre
// text, or hundredths of an inch with two decimals and the inch text.
struct SizeTexts {
  std::u16string width, length;
};
SizeTexts PreviewSizeTexts(const PaperInfo& paper, bool inches, bool decimalPoint,
                           const std::u16string& mmText, const std::u16string& inchText);

struct Box {
  int32_t left, top, right, bottom;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool operator==(const Box&) const = default;
};

// Where the sheet goes in a frame of cw x ch pixels: half the frame along
// its longer side, centred. `label` is the label inside its liner for labels
// on a liner, else the sheet itself. `drawn` is false for a paper with a
// zero side (only the background and the texts are drawn then).
struct SheetPlacement {
  bool drawn = false;
  bool liner = false;  // the outer box is a liner around the label
  Box outer{};
  Box label{};
};
SheetPlacement PlaceSheet(const PaperInfo& paper, int32_t cw, int32_t ch);

// Marks of the paper kinds, in frame pixels, for the drawing: the radius of
// rounded label corners, the black mark on the liner's back (shown beside
// the label), the sensing hole, the tear line of continuous stock and the
// fold of fan-fold stock.
struct KindMarks {
  int32_t cornerRadius = 0;
  bool blackMark = false;
  Box mark{};
  bool hole = false;
  Box holeBox{};
  bool torn = false;      // continuous: ragged ends, no gap
  bool perforated = false;  // fan-fold: dashed fold lines across
};
KindMarks PaperKindMarks(const PaperInfo& paper, const SheetPlacement& placement);

// The orientation picture (modes 1 and 2): the background bitmap, the
// picture pasted onto it and where. picture is 0 for modes without one.
struct OrientationPicture {
  uint16_t background = 0;
  uint16_t picture = 0;
  int32_t x = 0, y = 0;
};
OrientationPicture ChooseOrientationPicture(uint32_t mode, const PaperInfo& paper,
                                            bool portrait, bool paperOption);

// Every bitmap id the pictures of `mode` can use (for the resource module's
// completeness test), written to out; returns the count.
size_t OrientationPictureIds(uint32_t mode, uint16_t* out, size_t capacity);

// Text positions (the black copy; the grey shadow stands 2 pixels right and
// down), before DPI scaling of the fixed offsets: paper name centred at
// (cw / 2, ch - 20), width at (cw / 2, 10), the length turned 270 degrees at
// (cw - 25, ch / 2).
inline constexpr int32_t kNameFromBottom = 20;
inline constexpr int32_t kWidthFromTop = 10;
inline constexpr int32_t kLengthFromRight = 25;
inline constexpr int32_t kShadowOffset = 2;
inline constexpr int32_t kSheetShadow = 3;

}  // namespace vq::preview
