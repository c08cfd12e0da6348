// The cut settings page's decisions, apart from its window: where the strip
// is cut (Option740), every how many labels, the shortest piece the cutter
// can make, which controls a record enables, and where the illustration
// draws its cut lines.
#pragma once

#include <cstdint>
#include <vector>

#include "settings/job_settings.h"

namespace vq::cut {

// Option740 bits, one per control, as the page's controls call them.
inline constexpr uint32_t kLeadingEdge = cut_option::kLeadingEdge;     // 1233
inline constexpr uint32_t kTrailingEdge = cut_option::kTrailingEdge;   // 1234
inline constexpr uint32_t kBetweenLabels = cut_option::kBetweenLabels; // 1245
inline constexpr uint32_t kAfterCopy = cut_option::kSecondMode;        // 1229; clear: every N labels (1228)
inline constexpr uint32_t kWithinCopy = cut_option::kSecondModeCount;  // 1247, after each copy only

// The cutter cannot make a piece shorter than 38.1 mm (0.1 mm units).
inline constexpr uint32_t kMinPieceLength = 381;
inline constexpr int32_t kMaxCount = 9999;
inline constexpr uint32_t kCuttingOn = 1;  // Option728

inline bool CuttingOn(const JobSettings& js) { return js.Option728 == kCuttingOn; }
inline bool AfterCopy(const JobSettings& js) { return js.Option740 & kAfterCopy; }

// One label and the gap behind it when the labels sit on a liner
// (layout 0); other layouts have no gap between pieces.
uint32_t LabelPitch(const PaperInfo& paper);
// The fewest labels a piece must hold to be at least kMinPieceLength long.
uint32_t MinCutCount(const PaperInfo& paper);

// The count the current mode shows and edits: CopyCount1 after each copy,
// CopyCount2 every N labels.
uint32_t& ModeCount(JobSettings& js);
uint32_t ModeCount(const JobSettings& js);

// Turning cutting on raises both counts to the minimum. True when the
// paper's pitch is short enough that the user must be told (message 4114),
// whether or not a count actually changed.
bool SwitchCuttingOn(JobSettings& js);
inline void SwitchCuttingOff(JobSettings& js) { js.Option728 = 0; }
// At page start: only the current mode's count is raised, without a word.
void RaiseModeCount(JobSettings& js);

// A count read from the edit field. `text` holds what the field shows.
struct CountEntry {
  bool store;        // false: leave the record as it is (the field is being emptied)
  uint32_t value;    // the count to store
  bool rewrite;      // the field must show `value`
};
// An empty field is left alone until something is typed; text without a
// leading number gets the current count back; above kMaxCount becomes
// kMaxCount; with cutting on, below the minimum becomes the minimum.
CountEntry TypedCount(const char16_t* text, const JobSettings& js);
// The spinner moves the field's value by `delta`, within 1..kMaxCount and,
// with cutting on, not below the minimum.
uint32_t SpunCount(int64_t fieldValue, int32_t delta, const JobSettings& js);

// Option740 as the check boxes and radios say it; bits the page has no box
// for are kept as the record had them.
uint32_t BuildOption740(uint32_t old, bool leading, bool trailing, bool between, bool afterCopy,
                        bool withinCopy);

// What the controls show for a record.
struct CutControls {
  bool cutting;            // 12290
  bool groupEnabled;       // every control of the group: 1287 1233 1234 1245 and the icons
  bool leading, trailing, between, afterCopy, withinCopy;  // checks
  bool modeEnabled;        // 1228, 1229
  bool withinCopyEnabled;  // 1247
  bool countEnabled;       // 1284, 6044, 6045, 1239
  uint32_t count;          // 6044
  uint16_t unitText;       // 1239: 4420 pages after each copy, 4421 labels
};
CutControls ControlsFor(const JobSettings& js);

// The illustration: x of each vertical cut line in the pixels of bitmaps
// 473 (every N labels) and 474 (after each copy), left to right. The strip
// shows nine labels; after each copy they are three copies of three pages.
inline constexpr int kCutLineTop = 20;
inline constexpr int kCutLineBottom = 95;
std::vector<int> CutLinePositions(uint32_t option740, uint32_t count);

// The fields the page edits, to tell whether the page changed anything.
struct Snapshot {
  uint32_t option728, option740, copyCount1, copyCount2;
};
Snapshot TakeSnapshot(const JobSettings& js);
bool Changed(const Snapshot& before, const JobSettings& js);

// The page's fields from the default record.
void RestoreDefaults(JobSettings& js, const JobSettings& defaults);

}  // namespace vq::cut
