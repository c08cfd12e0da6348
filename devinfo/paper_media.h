// The paper and media records shared by the device-information module, the
// printer data ("APUI_PAPERINFO", "APUI_MEDIADATA") and the job settings
// record. Byte formats: every field is little-endian and its offset is pinned
// below, because the rendering module and stored printer data read the same
// bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vq {

// What a paper is, by its record's paperLayout: the custom-size limits, the
// page preview and the cut rules go by it. Bit 0x10 is the rounded corners.
namespace paper_layout {
inline constexpr uint32_t kLabelsOnLiner = 0;        // die-cut labels, liner showing at the sides
inline constexpr uint32_t kBlackMark = 1;            // labels found by a black mark on the back
inline constexpr uint32_t kContinuous = 2;           // one endless strip
inline constexpr uint32_t kHoleMark = 3;             // labels found by a hole in the liner
inline constexpr uint32_t kFanFold = 7;              // folded tags
inline constexpr uint32_t kRoundCorner = 0x10;
inline constexpr uint32_t kRoundLabelsOnLiner = kLabelsOnLiner | kRoundCorner;
inline constexpr uint32_t kRoundBlackMark = kBlackMark | kRoundCorner;
inline constexpr uint32_t kRoundHoleMark = kHoleMark | kRoundCorner;
// A paper that is printed only with the paper option on: choosing it checks
// and locks the option on the basic settings page.
inline constexpr uint32_t kNeedsPaperOption = 132;
}  // namespace paper_layout

// Lengths in 0.1 mm unless paperUnit says 0.01 inch.
struct PaperInfo {
  uint32_t paperNo;          // 0: catalogue number of the paper in the device module
  uint32_t paperId;          // 4: DMPAPER value; kUserDefinedPaper = user-defined size
  char16_t paperName[64];    // 8
  uint32_t customEditable;   // 136: non-zero: custom paper dialog may edit; gap/liner bits
  uint32_t paperLayout;      // 140: selects the custom-size limits
  uint32_t labelsAcross;     // 144: labels side by side on the liner
  uint32_t paperWidth;       // 148
  uint32_t paperLength;      // 152
  uint32_t printableWidth;   // 156
  uint32_t printableLength;  // 160
  uint32_t marginTop;        // 164
  uint32_t marginBottom;     // 168
  uint32_t marginLeft;       // 172
  uint32_t marginRight;      // 176
  uint32_t gap;              // 180: gap between labels along the feed
  uint32_t linerLeft;        // 184: liner showing left of the label
  uint32_t linerRight;       // 188
  uint32_t paperUnit;        // 192: 0 = 0.1 mm, otherwise 0.01 inch
  uint32_t cornerRadius;     // 196: rounded label corners (drawn by previews)
  uint32_t reserved200;      // 200
  uint32_t reserved204;      // 204
  uint32_t narrowMargin;     // 208: set only in memory by the basic settings page
  uint32_t reserved212;      // 212
  uint32_t reserved216;      // 216
  uint32_t reserved220;      // 220
};

inline constexpr uint32_t kPaperInfoSize = 224;
inline constexpr uint32_t kUserDefinedPaper = 256;

// customEditable bits that switch on the gap and liner checks of a custom size.
inline constexpr uint32_t kEditGap = 0x800;
inline constexpr uint32_t kEditLinerLeft = 0x1000;
inline constexpr uint32_t kEditLinerRight = 0x2000;

static_assert(sizeof(PaperInfo) == kPaperInfoSize);
static_assert(offsetof(PaperInfo, paperId) == 4);
static_assert(offsetof(PaperInfo, paperName) == 8);
static_assert(offsetof(PaperInfo, customEditable) == 136);
static_assert(offsetof(PaperInfo, paperLayout) == 140);
static_assert(offsetof(PaperInfo, paperWidth) == 148);
static_assert(offsetof(PaperInfo, paperLength) == 152);
static_assert(offsetof(PaperInfo, printableWidth) == 156);
static_assert(offsetof(PaperInfo, printableLength) == 160);
static_assert(offsetof(PaperInfo, marginTop) == 164);
static_assert(offsetof(PaperInfo, marginBottom) == 168);
static_assert(offsetof(PaperInfo, marginLeft) == 172);
static_assert(offsetof(PaperInfo, marginRight) == 176);
static_assert(offsetof(PaperInfo, gap) == 180);
static_assert(offsetof(PaperInfo, linerLeft) == 184);
static_assert(offsetof(PaperInfo, linerRight) == 188);
static_assert(offsetof(PaperInfo, paperUnit) == 192);
static_assert(offsetof(PaperInfo, narrowMargin) == 208);

struct MediaData {
  uint32_t mediaId;          // 0: user media have ids 262 .. 361
  char16_t mediaName[64];    // 4: terminated
  uint32_t mediaClass;       // 132: copied to MediaClass of the job settings
  uint32_t ink[8];           // 136: set 1 K C M Y, then set 2 K C M Y
  uint32_t profileNumber;    // 168: 1-based entry of APUI_ICPMPROFILELIST, 0 = none
  uint32_t dryTime;          // 172: seconds the printer waits before cutting
  uint32_t reserved176;      // 176
};

inline constexpr uint32_t kMediaDataSize = 180;
inline constexpr uint32_t kFirstUserMediaId = 262;
inline constexpr uint32_t kLastUserMediaId = 361;

static_assert(sizeof(MediaData) == kMediaDataSize);
static_assert(offsetof(MediaData, mediaName) == 4);
static_assert(offsetof(MediaData, mediaClass) == 132);
static_assert(offsetof(MediaData, ink) == 136);
static_assert(offsetof(MediaData, profileNumber) == 168);

}  // namespace vq
