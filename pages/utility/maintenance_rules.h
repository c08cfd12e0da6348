// The maintenance utility's decisions, free of Windows: which buttons the
// page shows, the wait dialog's progress line, the sleep timer's stored
// value, the cutter offsets as the user reads them, the special settings'
// switch bits, and the head registration arithmetic of both adjustment
// dialogs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "monitor/printer_state_record.h"

namespace vq::maint {

// ---- Utility page buttons ---------------------------------------------

struct UtilityButton {
  uint16_t button, caption;
  uint32_t flagBit;  // 0: never shown
  uint16_t normalBitmap, pressedBitmap;
};
inline constexpr UtilityButton kUtilityButtons[] = {
    {1075, 6035, 0x1, 178, 179},     {1076, 6018, 0x2, 471, 472},
    {1086, 6019, 0x200, 180, 181},   {6006, 6021, 0x8, 194, 191},
    {1078, 6029, 0x10, 193, 192},    {1079, 6023, 0x20, 184, 177},
    {1080, 6030, 0x40, 183, 182},    {1095, 6083, 0x10000, 202, 201},
    {1081, 6032, 0x1000, 188, 187},  {1082, 6031, 0x2000, 186, 185},
    {1084, 6036, 0x100, 424, 425},   {1094, 6082, 0x8000, 200, 199},
    {1089, 6040, 0, 481, 480},       {1091, 6042, 0x2000, 479, 478},
    {1090, 6041, 0x2000, 477, 476},  {1092, 6024, 0x400, 499, 498},
};
// Buttons earlier versions of the page had; the page hides them too (they
// are simply not there).
inline constexpr uint16_t kAbsentButtons[] = {1077, 1083, 1087, 1088, 1093, 1096, 1600};
// The document sheet shows a fixed set of buttons.
inline constexpr uint32_t kDocumentSheetButtonFlags = 0x5A33;

const UtilityButton* FindUtilityButton(uint16_t id);
// Whether a button of the table is shown for the flags in force.
bool ButtonShown(const UtilityButton& button, uint32_t flags);

// ---- Wait dialog --------------------------------------------------------

// The progress line: `format` (with two %d, percent then minutes) given
// (a, b) is formatted with b then a; when a is 0 the text is cut before its
// first "(" (and the space before it). Only "%d" and "%%" conversions are
// honoured; anything else is copied as it stands.
std::u16string ProgressLine(std::u16string_view format, uint8_t a, uint8_t b, bool twoBytes);

// The ink tanks an ink alert's value names, bit by bit, and their texts.
struct InkBit {
  uint8_t bit;
  uint16_t text;
};
inline constexpr InkBit kInkBits[] = {{1, 5322}, {2, 5323}, {4, 5324}, {8, 5325}};
// The message the ink-fill wait shows for an alert entry it is told of
// (the ink entry " " gets a list of tanks instead: 0).
uint32_t InkFillAlertMessage(uint8_t code);

// ---- Sleep timer ----------------------------------------------------------

inline constexpr uint32_t kSleepFirstMin = 1, kSleepFirstMax = 60;
inline constexpr uint32_t kSleepSecondMin = 1, kSleepSecondMax = 720;
inline constexpr uint32_t kSleepFirstDefault = 4, kSleepSecondDefault = 240;
// APUI_DWSLEEPTIMER: the first time in the low half, the second time with
// its four bytes reversed OR-ed in (its high byte lands in bits 16..23, its
// low byte in bits 24..31).
uint32_t PackSleepTimer(uint32_t first, uint32_t second);
// What an edit holding `typed` (read as signed; not a number counts as 0)
// becomes: the value clamped to lo..hi.
int32_t ClampTypedValue(std::u16string_view typed, int32_t lo, int32_t hi);

// ---- Cutter position ------------------------------------------------------

inline constexpr int kCutterPositions = 40;  // slider 0..40
inline constexpr int kCutterCentre = 20;
// Tenths of a millimetre a slider position stands for.
inline constexpr int CutterOffset(int position) { return 5 * position - 100; }
// The value label: "-10.0" / "3.5" in millimetres, "0.39" / "-0.02" in inches.
std::u16string FormatCutterOffset(int tenthsMm, bool inches);

// ---- Special settings -----------------------------------------------------

// The check boxes and radios the switch bytes stand for.
struct SpecialSwitches {
  bool autoCleaning;    // 9029: S1 0x20
  bool wideMargins;     // 1279: S1 0x10
  bool buzzer;          // 6066: S1 0x02
  bool inkSaving;       // 6067: S1 0x80
  bool gapDetection;    // 6068: S1 0x04 clear
  bool extraDrying;     // 6072: S2 0x02
  int headRaise;        // 9018 and radios: 0 off, 1 low (9019), 2 medium (9020), 3 high (9021)
};
SpecialSwitches SwitchesFromBytes(uint8_t s1, uint8_t s2);
// Writes the switches into S1 and S2, leaving every other bit as it is.
void SwitchesToBytes(const SpecialSwitches& s, uint8_t* s1, uint8_t* s2);

// ---- Ink exchange -------------------------------------------------------

// Whether an ink exchange may start on the printer's state as read.
struct ExchangeStart {
  bool proceed;
  uint32_t message;  // shown first (0: none); with proceed false the exchange stops
  bool wake;         // send the wake-up command first
};
ExchangeStart JudgeInkExchangeStart(const StateRecordView& record);

// ---- Head registration ------------------------------------------------------

using Registration = std::array<int8_t, 12>;  // b0..b11

bool IsExtendedRange(const Registration& r);
// Whether the selected paper can hold the adjustment pattern (0.1 mm): at
// least 19.6 mm printable across and 38.1 mm long.
bool PaperHoldsAdjustmentPattern(int32_t paperWidth, int32_t marginLeft, int32_t marginRight,
                                 int32_t paperLength);
// Size class 1 for a wide and long label, else 2 (0.1 mm, margins taken off).
int RegistrationSizeClass(int32_t paperWidth, int32_t marginLeft, int32_t marginRight,
                          int32_t paperLength);

// The eight corrections of the head position adjustment dialog.
enum Correction { kC6038, kC6042, kC6041, kC6061, kC6049, kC6054, kC6063, kC6065, kCorrections };
using Corrections = std::array<int32_t, kCorrections>;
// The limit L a correction's range is clamped to.
int32_t CorrectionLimit(Correction c, bool extended, int sizeClass);
struct CorrectionRange {
  int32_t lo, hi, position;
};
// The range a correction gets when its stage begins, from the values read
// and the corrections entered so far.
CorrectionRange StageRange(Correction c, const Registration& r, const Corrections& e,
                           bool extended, int sizeClass);
// The values sent after adding the corrections.
Registration AddCorrections(const Registration& r, const Corrections& e, bool extended);

// The paper type a registration pattern is printed for (4, 5 or 6).
int RegistrationPaperType(uint8_t paperLayout, int32_t dmPaperLength, int32_t paperWidth,
                          int32_t linerLeft, int32_t linerRight);

// Detailed adjustment: three rows of three readings.
int32_t RowMean(int32_t a, int32_t b, int32_t c);
int32_t DetailLimit(int32_t paperWidth, int32_t marginLeft, int32_t marginRight, bool extended);
struct DetailRanges {
  CorrectionRange first, second, third;
};
DetailRanges DetailStageRanges(int stage, const Registration& r, int32_t firstRowMean,
                               int32_t limit);
Registration AddDetailCorrections(const Registration& r, int32_t firstMean, int32_t secondMean,
                                  int32_t thirdMean);
// The detailed dialog widens its limits when b0..b2 leave -64..64 or b3
// leaves -32..32 (the second-row values do not matter there).
bool IsDetailExtendedRange(const Registration& r);

// The vertical slider beside the preview: its top is the largest value.
// `centre` is the position of 0 (32 or 8, 127 in the extended range).
inline constexpr int32_t SliderValue(int32_t centre, int32_t position) { return centre - position; }
inline constexpr int32_t SliderPosition(int32_t centre, int32_t value) { return centre - value; }
// The value a slider moved to `position` gives a correction whose range is
// `range`: the nearest bound when it lies outside.
int32_t SliderCorrection(int32_t centre, int32_t position, const CorrectionRange& range);

// What a correction edit shows after the user changed it to `typed`: the
// number without leading zeros ("-0" and "-05" become "0" and "-5"), limited
// to lo..hi. Empty for a text the user is still typing ("" and "-"), which
// stays as it is.
std::u16string CorrectionEditText(std::u16string_view typed, int32_t lo, int32_t hi);

}  // namespace vq::maint
