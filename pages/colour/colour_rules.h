// The colour page's and the colour adjustment dialog's decisions, apart from
// their windows: the choice lists and what each entry writes into the job
// settings record, the change check, Defaults, the enabled states, the
// dialog's state and the rules of its edits and scroll bars.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "devinfo/paper_media.h"
#include "settings/job_settings.h"

namespace vq::colour {

// ---- Colour page --------------------------------------------------------

inline constexpr uint32_t kColourModeList = 4510;
inline constexpr uint32_t kResolutionList = 4803;
inline constexpr uint32_t kHalftoneList = 4805;

// One entry of the page's three lists: the list it belongs to and the values
// it writes. Colour mode: ColorMode, ColorModeType, IcmMode, dmICMMethod;
// resolution: dmPrintQuality, dmYResolution; halftone: Halftone.
struct ChoiceRow {
  uint32_t listId;
  int16_t values[4];
};

// Rows of one list stand together, in item order; each list's names come
// from the device module's list of the same order.
inline constexpr ChoiceRow kChoiceRows[] = {
    {kColourModeList, {2, 0, 0, 1}}, {kColourModeList, {0, 6, 0, 1}},
    {kResolutionList, {600, 600}},   {kResolutionList, {1200, 1200}},
    {kHalftoneList, {3}},            {kHalftoneList, {1}},
};
inline constexpr size_t kChoiceRowCount = std::size(kChoiceRows);

// The row's item index in its own list.
int ItemOfRow(size_t row);
// The row of `listId` at `item`, or -1.
int RowOfItem(uint32_t listId, int item);

// Copies the row's values into the record; a colour-mode entry also clears
// bit 0 of Mcc3Flags.
void ApplyChoice(size_t row, JobSettings* js);

// The item each list should show for the record (kColourModeList,
// kResolutionList, kHalftoneList order); -1 where no entry matches, and the
// list keeps what it shows.
struct ListSelection {
  int colourMode, resolution, halftone;
};
ListSelection SelectFromRecord(const JobSettings& js);

// The grayscale box: ColorPlanes and Monochrome follow it, MonoTone is set
// to 255 either way.
void SetGrayscale(JobSettings* js, bool on);

// Whether the record differs from the applied one in a field this page
// edits (which renames the settings set).
bool ColourSettingsChanged(const JobSettings& work, const JobSettings& applied);

// Defaults of the page: colour mode, resolution, halftone and grayscale from
// the default record; the adjustments of the dialog and the media class stay.
void ApplyColourDefaults(const JobSettings& defaults, JobSettings* work);

// What the adjustment dialog may change; the page compares it before and
// after the dialog to know whether the settings set was changed.
struct AdjustmentSnapshot {
  int32_t values[6];
  uint32_t gamma, style, flagPair, optionFlag;
  bool operator==(const AdjustmentSnapshot&) const = default;
};
AdjustmentSnapshot TakeAdjustmentSnapshot(const JobSettings& js);

// The colour-profile number of the media record `mediaTypeId` (0: none, or
// no such record).
uint32_t MediaProfileNumber(const MediaData* table, size_t count, uint32_t mediaTypeId);

// Which of the page's controls are usable.
struct PageEnables {
  bool colourMode;  // label 4518 and list 4510
  bool grayscale;   // check box 4507
};
PageEnables ColourPageEnables(bool grayscaleChecked, uint32_t profileNumber);

// Grayscale printing at full tone shows the grayscale picture as it is,
// without rendering.
bool ShowsGrayscalePicture(const JobSettings& js);

// The length a packed bitmap's header gives it (header and rows of 24 or 32
// bits), or 0 when `size` bytes do not hold a header that can be read so.
// The page passes the sample picture on only when this equals its size.
uint64_t PackedBitmapLength(const uint8_t* data, size_t size);

// ---- Colour adjustment dialog -------------------------------------------

inline constexpr int32_t kAdjustMin = -50;
inline constexpr int32_t kAdjustMax = 50;

// The dialog's working values: nothing reaches the record before OK.
struct AdjustmentState {
  int32_t balance[4];  // cyan, magenta, yellow, black
  int32_t tone[2];     // brightness, contrast
  uint32_t halftone;
  uint32_t gamma;      // 1 .. 3
  uint32_t style;      // 0 .. 3
  uint32_t option552;
  bool optionFlag;     // bit 0 of ColorOptions
  uint32_t flagPair;   // bits 1 and 2 of ColorFlags
};

// The state from the record. Values a record can hold but the dialog cannot
// show are brought into range: the six values clamped to -50..50, a gamma
// outside the list reset to 2, a style outside the list to 0.
AdjustmentState LoadAdjustments(const JobSettings& js);
// OK: the state back into the record.
void StoreAdjustments(const AdjustmentState& s, JobSettings* js);
// The preview copy shows the tentative values: the six values, gamma,
// style and the reserved option.
void CopyToPreview(const AdjustmentState& s, JobSettings* preview);
// The dialog's Defaults; the option flag comes from the default record.
AdjustmentState DefaultAdjustments(const JobSettings& defaults);

// The gamma is fixed at 2 when colour printing uses a colour-managed or
// vivid mode, or when the media carries a colour profile.
bool GammaLocked(const JobSettings& js, uint32_t profileNumber);
// Grayscale at full tone: only the black balance, gamma and style are usable.
bool AdjustmentsGrayscale(const JobSettings& js);

// What typing left in a numeric edit (at most 7 characters are read): the
// value to store, and the text the edit should show instead when it should
// change. A "-" after the first character starts the number there; text
// that is no number counts as 0 (an empty edit or a lone "-" are left as
// they are, so the user can go on typing); a number outside -50..50 is
// clamped and shown clamped.
struct EditReading {
  int32_t value;
  bool rewrite;
  char16_t text[8];  // when rewrite
};
EditReading ReadAdjustmentText(std::u16string_view text);

// Scroll-bar requests (the SB_* codes) for a bar of range 0..range at
// position `pos`; `thumb` is the position a thumb request carries.
int32_t ScrollTarget(int code, int32_t pos, int32_t range, int32_t thumb);

// The trough of a balance bar fades from white to the ink's colour along an
// S-curve: the component at pixel column x of a trough w pixels wide.
uint8_t TroughComponent(uint8_t ink, int x, int w);

}  // namespace vq::colour
