// The checks behind the custom paper dialog of VQ312CP.dll: a user paper the
// dialog wants to store (name, sizes, margins, liners) is checked, numbered
// and stored in the printer's paper table; a user paper the dialog wants to
// delete is checked against the working settings and the favourites.
//
// Both talk to the user through message boxes whose texts are built into this
// module in Simplified Chinese, always with the caption "正在检查适合程度".
// Here they go through a CheckDialogue, so the rules run natively in tests;
// the Win32 side (custom_paper_win.h) answers with real message boxes.
//
// The blocks below are the interface between this module and VQ312CP.dll:
// their layouts are fixed (x64) and pinned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "devinfo/paper_media.h"
#include "settings/job_settings.h"

namespace vq {

class PrinterStore;
struct FavouriteSet;

// ---- Interface with VQ312CP.dll ------------------------------------------

// The paper list the dialog hands to the checks. The array has room for
// firstUser + userMax + 1 records; the records from firstUser on are user
// papers, the one at firstUser - 1 is the user-defined size (paper 256).
struct CustomPaperList {
  PaperInfo* papers;   // 0
  uint32_t count;      // 8: records in use
  uint32_t firstUser;  // 12: APUI_PAPERSUPCOUNT
  uint32_t userMax;    // 16: APUI_PAPERUSERMAX
  uint32_t flags;      // 20: kListLowSideMargins
};
static_assert(sizeof(CustomPaperList) == 24 && offsetof(CustomPaperList, flags) == 20);
// Set by the dialog when the printer takes side margins down to 2.5 mm on
// layouts other than 0 and 16 (the minimum is 2.7 mm otherwise).
inline constexpr uint32_t kListLowSideMargins = 1;

// What the page hands the dialog with DispCCPD (x64 layout).
struct CustomPaperRequest {
  void* pageWindow;        // 0
  PaperInfo* papers;       // 8
  uint32_t count;          // 16
  uint32_t firstUser;      // 20: APUI_PAPERSUPCOUNT
  uint32_t userMax;        // 24: APUI_PAPERUSERMAX
  uint32_t currentPaper;   // 28: the working record's paper number
  PaperInfo paper;         // 32: the current paper; the dialog returns the chosen one
  uint32_t userDefaultMode;  // 256
  uint32_t measureUnit;    // 260: MeasureUnit, in and out (0 mm, else inches)
};
static_assert(sizeof(CustomPaperRequest) == 264);
static_assert(offsetof(CustomPaperRequest, paper) == 32);
static_assert(offsetof(CustomPaperRequest, userDefaultMode) == 256);
static_assert(offsetof(CustomPaperRequest, measureUnit) == 260);

// The callbacks block OpenCCPD receives: 160 bytes, zero except these.
inline constexpr size_t kCallbacksSize = 160;
inline constexpr size_t kCallbackValidateOffset = 80;
inline constexpr size_t kCallbackDeleteOffset = 88;
inline constexpr size_t kCallbackNothingOffset = 96;
inline constexpr size_t kCallbackHelpTopicOffset = 144;

// PaperTypeLimits: 270 u32 values. Rows of eight per layout group (0: layouts
// 0 and 16, 1: 1 3 17 19, 2: 2 and 7) and unit (0: 0.1 mm, 1: 0.01 inch), at
// (group * 2 + unit) * 8: width min, width max, length min, length max, side
// margin min, top/bottom margin min, liner min, liner max. Values 246 and 248
// say whether narrow side margins are allowed (11) or not (10).
inline constexpr size_t kPaperTypeLimitCount = 270;
inline constexpr size_t kLimitsNarrowFlagA = 246;
inline constexpr size_t kLimitsNarrowFlagB = 248;
inline constexpr uint32_t kLimitsRow = 8;
void BuildPaperTypeLimits(bool narrowMarginAllowed, uint32_t* limits /* 270 */);

// Results of the checks.
inline constexpr uint32_t kPaperStoredNew = 0;
inline constexpr uint32_t kPaperStoredOver = 0x40000;
inline constexpr uint32_t kPaperRefused = 1;  // any other value refuses; this is the one used
inline constexpr uint32_t kPaperDeleted = 0;
inline constexpr uint32_t kPaperNotFound = 1;
inline constexpr uint32_t kPaperDeleteRefused = 0x80000;
inline constexpr uint32_t kPaperDeleteDeclined = 0x100000;

// ---- The rules -----------------------------------------------------------

inline constexpr uint32_t kFirstUserPaperId = 336;
inline constexpr uint32_t kLastUserPaperId = 385;
inline constexpr char16_t kCheckCaption[] = u"正在检查适合程度";

// Message-box styles the checks use (the Win32 values).
inline constexpr uint32_t kMbOk = 0x0;
inline constexpr uint32_t kMbYesNo = 0x4;
inline constexpr uint32_t kMbIconError = 0x10;
inline constexpr uint32_t kMbIconExclamation = 0x30;

class CheckDialogue {
 public:
  virtual ~CheckDialogue() = default;
  // A message box with caption kCheckCaption; true when answered Yes.
  virtual bool Show(std::u16string_view text, uint32_t style) = 0;
  // Message 4003 of the catalogue ("save as a new entry?") with the name;
  // true when answered Yes.
  virtual bool ConfirmNewPaper(std::u16string_view name) = 0;
};

// Layout groups of the size limits: 0 for layouts 0 and 16, 1 for 1, 3, 17
// and 19, 2 for 2 and 7; other layouts take group 1's limits.
uint32_t LayoutGroup(uint32_t paperLayout);

// "v / 10" with one decimal (unit 0) or "v / 100" with two (0.01 inch).
std::u16string FormatCheckNumber(int32_t value, uint32_t unit);

// The first size check a paper fails, with the message it gets, the field it
// names and the value the field is set back to. `field` is null when all
// pass.
struct RangeFailure {
  uint32_t* field = nullptr;
  uint32_t value = 0;
  std::u16string message;
};
RangeFailure CheckPaperRanges(PaperInfo* paper, bool lowSideMargins);

// printable width and length from the margins.
void ComputePrintableArea(PaperInfo* paper);

// The smallest user paper number from 336 that no user paper in the list
// carries; 0 when every number up to 385 is taken.
uint32_t NextUserPaperId(const CustomPaperList& list);

// Converts a paper's lengths to the other unit (0.1 mm <-> 0.01 inch),
// rounding to the nearest.
PaperInfo ConvertPaperUnit(const PaperInfo& paper);

// ValidateCustomPaper's rules. `name` is the name field's text and
// `nameFieldEnabled` whether the user may change it (it is not while the
// user-defined size itself is edited). `other` is the same paper in the
// other unit and follows any value a check sets back. On acceptance the
// list is changed and stored in `printer` (WritePaperTable).
uint32_t CheckAndStoreCustomPaper(CheckDialogue& ui, std::u16string_view name, bool nameFieldEnabled,
                                  PaperInfo* paper, PaperInfo* other, CustomPaperList* list,
                                  bool noConfirmation, PrinterStore* printer);

// ConfirmPaperDelete's rules: `work` is the sheet's working record,
// `defaults` the default record the repaired favourites take their paper
// from. Favourites are read from and written to `printer`.
uint32_t CheckAndDeletePaper(CheckDialogue& ui, const PaperInfo& paper, CustomPaperList* list,
                             const JobSettings& work, const JobSettings& defaults,
                             PrinterStore* printer);

}  // namespace vq
