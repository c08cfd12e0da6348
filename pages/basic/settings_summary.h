// The settings summary: a job settings record as label / value rows, shown
// in the summary dialog's list and the favourites dialog's details list, and
// copied as plain text to the clipboard. The rows are decided here; the
// Win32 side (settings_list_win.h) only fetches the texts they name.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "devinfo/paper_media.h"
#include "settings/job_settings.h"

namespace vq {

inline constexpr uint32_t kOnText = 4961;
inline constexpr uint32_t kOffText = 4962;
inline constexpr uint32_t kNotApplicableListText = 5365;
inline constexpr uint32_t kNotApplicableClipText = 5392;
inline constexpr uint32_t kBalanceListText = 5369;
inline constexpr uint32_t kBalanceClipText = 5393;
inline constexpr uint32_t kSpeedUnitText = 5012;

// The icons of the settings list, in image-list order.
inline constexpr uint16_t kSettingsListIcons[] = {175, 176, 283, 173, 171, 145, 140, 375,
                                                  388, 342, 381, 142, 144, 143, 394};

struct SummaryValue {
  enum class Kind : uint8_t {
    kText,           // `text` as it stands (names from the record or the tables)
    kTextId,         // catalogue text `id`, then catalogue text `id2` when not 0
    kNumber,         // `number` in decimal
    kBalance,        // the balance format with the four values of `balance`
    kNotApplicable,  // 5365 in the list, 5392 on the clipboard
  };
  Kind kind = Kind::kText;
  uint32_t id = 0;
  uint32_t id2 = 0;
  int32_t number = 0;
  int32_t balance[4] = {};
  std::u16string text;
};

struct SummaryRow {
  uint32_t label;  // text id
  uint16_t icon;   // 0: none
  SummaryValue value;
};

// What the rows need beyond the record: the media table and the names of
// the colour modes and gamma curves of the device-information module.
struct SummarySources {
  std::span<const MediaData> media;
  std::vector<std::u16string> colourModes;
  std::vector<std::u16string> gammas;
};

// The rows in display order. The scaling row (label 4913) is there only
// when `withScaling` is set.
std::vector<SummaryRow> BuildSummaryRows(const JobSettings& js, const SummarySources& sources,
                                         bool withScaling);

// Text of the print-speed level (Option PrintLevel's value), 0 when the
// value has none.
uint32_t PrintLevelText(uint32_t level);

// The version block: four lines, joined by `separator`.
std::u16string VersionBlock(std::u16string_view separator);

using TextLookup = std::function<std::u16string(uint32_t id)>;

// A value as the list (clipboard false) or the clipboard text shows it.
std::u16string FormatSummaryValue(const SummaryValue& v, bool clipboard, const TextLookup& textOf);

// The clipboard text: "label : value" lines for the driver (text 5390) and
// printer (5391) names, a rule of 80 "=", one line per row, then text 4733
// and the version block; CR LF line ends.
std::u16string SummaryText(const std::vector<SummaryRow>& rows, const TextLookup& textOf,
                           std::u16string_view driverName, std::u16string_view printerName);

// "%d" conversions of a catalogue format replaced by the numbers in order.
std::u16string FormatNumbers(std::u16string_view format, std::span<const int32_t> numbers);

}  // namespace vq
