// The basic settings page's decisions, apart from its window: which papers
// are listed how, what a paper, media or copies change does to the working
// record, when the settings count as changed, and the paper and media
// descriptions of the details tooltips.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "devinfo/paper_media.h"
#include "settings/job_settings.h"

namespace vq::basic {

// Side margins below 2.7 mm need the printer's narrow-margin setting.
inline constexpr uint32_t kNarrowMarginBelow = 27;
// Labels shorter than 38.1 mm need several copies to clear the cutter.
inline constexpr uint32_t kMinimumLabelLength = 381;
// Stock that can only be printed turned: PaperOption is forced on.
inline constexpr uint32_t kTurnedOnlyLayout = 132;
inline constexpr uint32_t kMediaPlainPaper = 2;
inline constexpr uint32_t kPlainPaperMaxLevel = 10;
inline constexpr uint32_t kMaxCopiesChars = 4;

// Whether a paper's side margins (with the liner beside the label, for
// labels on a liner) are narrower than the printer allows by default.
bool HasNarrowMargin(const PaperInfo& paper);

// The paper list: marks each record's narrowMargin (in memory) and gives
// the item texts in table order, `prefix` before the name of a paper the
// printer does not allow. A current paper that is not allowed is replaced by
// the first paper of the table (*currentPaper changes). Returns the list
// index of *currentPaper, or -1 when the table holds no such paper.
int FillPaperList(PaperInfo* table, size_t count, bool narrowMarginAllowed, uint32_t* currentPaper,
                  const std::u16string& prefix, std::vector<std::u16string>* items);

// The selected paper goes into the working record: size, width, length,
// form name (at most 31 characters and a terminator) and the whole record.
void TakePaper(JobSettings& js, const PaperInfo& paper);

// The length the cutter sees for a paper: its length, plus its gap when the
// paper held before (layoutBefore) was labels on a liner.
uint32_t CutLength(const PaperInfo& paper, uint32_t layoutBefore);

// The minimum-length rule (when Option728 is 1): a length under 38.1 mm
// raises both cut copy counts to ceil(381 / length). true when the user is
// to be told (message 4114). A length of 0 changes nothing.
bool ApplyMinimumLength(JobSettings& js, uint32_t length);

// What a new paper does to the PaperOption check box.
enum class OptionBox : uint8_t { kLeave, kForceOn, kRelease };
OptionBox PaperOptionAfter(uint32_t newLayout, uint32_t layoutBefore);
// Applies it to the record; the caller mirrors it on the box.
void ApplyPaperOption(JobSettings& js, OptionBox box);

// The custom paper button: disabled without full printer access; in the
// user-default sheet enabled for editable papers; elsewhere for the
// user-defined size only.
bool CustomPaperEnabled(bool adminAccess, bool userDefaultMode, const PaperInfo& selected);
// Outside the user-default sheet, the user-defined size selected takes the
// process's user paper record into the working record.
void TakeUserPaper(JobSettings& js, const PaperInfo& userPaper);

// Initialisation of a sheet outside user-default mode whose record carries
// the user-defined size: the table's user-defined records take the record's
// paper, the process's user paper is seeded from it once (Option484 goes to
// 0 then), and the table then carries the process's user paper.
void MergeUserPaper(JobSettings& js, PaperInfo* table, size_t count, PaperInfo& userPaper);

// Copies typed into the field: 1..maxCopies, anything else (0, letters,
// too many) resets the field to 1.
struct CopiesReading {
  int16_t copies;
  bool resetField;
};
CopiesReading ReadCopies(int32_t typed, int32_t maxCopies);

// OrientationLock after the orientation or the lock box changes: the lock
// follows the orientation while the box is checked, and is gone without it.
uint32_t OrientationLockFor(bool lockChecked, int16_t orientation);
// The radios and the lock box from a record's lock (a lock wins over
// dmOrientation).
struct OrientationView {
  bool portrait;
  bool lockChecked;
};
OrientationView ViewOrientation(const JobSettings& js);

// Plain paper caps the print level: the automatic flag and the top bits go,
// the level stops at 10.
uint32_t PlainPaperPrintLevel(uint32_t printLevel);

// The values whose change makes the settings "current settings".
struct PageSnapshot {
  uint16_t paperSize, mediaIndex, scalingMode, scale, copies, orientation;
  uint32_t paperOption, option728, copyCount1, copyCount2, option740, paperIndex, orientationLock;
  bool operator==(const PageSnapshot&) const = default;
};
PageSnapshot ReadPageSnapshot(const JobSettings& js, const MediaData* media, size_t mediaCount,
                              uint32_t paperIndex);
struct ChangeVerdict {
  bool copiesDiffer;     // PSM_CHANGED at once
  bool settingsChanged;  // the name becomes "current settings" (paper index aside)
};
ChangeVerdict CompareSnapshots(const PageSnapshot& reference, const PageSnapshot& live);
// The record renamed after a change by hand.
void MarkChangedByHand(JobSettings& js, const std::u16string& currentSettingsText);

// The position of `mediaId` in the media table, or 0 when it is not there.
uint32_t MediaListIndex(const MediaData* media, size_t count, uint32_t mediaId);

// Printf-style text with %d, %s and %% only; a conversion without an
// argument is left as it stands.
struct FormatArg {
  int64_t number;
  std::u16string text;
  bool isText;
};
std::u16string FormatText(const std::u16string& format, const std::vector<FormatArg>& args);

// The texts the descriptions are built from, in the user's language.
struct DetailTexts {
  std::u16string size, mm, top, bottom, left, right, liners, inch;  // 5357..5364
  std::u16string inks;       // 5367: eight %d
  std::u16string profile;    // 5368: two %s
  std::u16string fine, standard;  // 5002, 5003
  std::u16string dither, diffusion;  // 4999, 5000
};
// A paper's sizes, one line each, in mm with one decimal or in inches with
// two; lines end with CR LF.
std::u16string PaperDetails(const PaperInfo& paper, bool inches, bool decimalPoint,
                            const DetailTexts& t);
// The colour profile's two words: resolution (1200 fine, else standard)
// and halftone (1 dither, else error diffusion).
struct ProfileWords {
  uint32_t resolution;
  uint32_t halftone;
};
// Reads the words of a 1056-byte profile list entry.
ProfileWords ReadProfileWords(const unsigned char* entry);
std::vector<FormatArg> ProfileArgs(const ProfileWords& w, const DetailTexts& t);
// A media item: its name, ":" and its ink values; with a profile, the
// profile line.
std::u16string MediaDetails(const MediaData& media, const ProfileWords* profile,
                            const DetailTexts& t);

// Offsets of the words of a profile list entry the page uses: after the two
// 260-character profile paths.
inline constexpr size_t kProfileResolutionOffset = 1040;
inline constexpr size_t kProfileHalftoneOffset = 1044;

}  // namespace vq::basic
