// The overlay forms page's and the overlay settings dialog's decisions, apart
// from their windows: the mode and switch bits of OverlayMode, which
// controls each mode shows, the facts a form file tells about itself, and
// whether the page changed anything.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "settings/job_settings.h"

namespace vq::overlay {

inline constexpr uint32_t kCreate = 1;  // low bits of OverlayMode
inline constexpr uint32_t kUse = 2;
inline constexpr uint32_t kOnBit = 0x80000000u;
inline constexpr uint32_t kFirstPageOnly = 1;  // OverlayOption
inline constexpr uint32_t kEveryPage = 2;
// The path edits take one unit less than the record holds: its terminator.
inline constexpr uint32_t kPathChars = 259;
inline constexpr uint32_t kCommentChars = 31;

inline bool IsOn(const JobSettings& js) { return js.OverlayMode & kOnBit; }
// Create mode only when the low bits say 1; everything else is shown as use.
inline bool IsCreate(const JobSettings& js) { return (js.OverlayMode & 0xF) == kCreate; }

// Switching the overlay on keeps the mode; off keeps the low 28 bits.
void SwitchOn(JobSettings& js);
void SwitchOff(JobSettings& js);
// The mode radios: the mode, switched on, with the path of the mode's edit.
void ChooseMode(JobSettings& js, bool create, std::u16string_view path);

// Copies text into a fixed field, cut to leave room for the terminator; the
// rest of the field is zeroed so no earlier text shows through.
void SetPath(JobSettings& js, std::u16string_view path);
void SetComment(JobSettings& js, std::u16string_view comment);
std::u16string CommentOf(const JobSettings& js);

// The controls that each mode enables or disables (and, for the two path
// edits, shows or hides). Control ids of the page's template; the dialog
// uses the same ids for the same roles.
struct ModeControl {
  uint16_t id;
  bool enabledInCreate, enabledInUse;
  bool hideWhenDisabled;  // the path edit of the other mode
};
// The page and the dialog share the ids; each skips the ones it lacks.
std::span<const ModeControl> ModeControls();

// What ShowFormInfo answers.
enum class FormCheck : int {
  kNoFile = 0,      // no such file, or a folder: nothing to say
  kUnreadable = 1,  // cannot be opened or read, or not a form file
  kCreateMode = 2,  // nothing is read in create mode
  kForm = 3,
};

// A page of a form as its `p` command describes it.
struct FormPage {
  uint16_t formCode;      // the page word
  bool landscape;         // lead byte 2
  uint32_t widthDots, lengthDots;
  uint16_t xResolution, yResolution;
};
struct FormDescription {
  FormCheck check = FormCheck::kUnreadable;
  std::u16string comment;  // the comment the form was created with
  std::vector<FormPage> pages;
};
// Reads what a form file says about itself: it must start with the form
// header; the comment stands at offset 8 of the header; the pages are the
// `p` commands of the stream up to the end of the stream or an `s` whose
// third payload byte is 2. Never reads outside `data`.
FormDescription DescribeForm(std::span<const uint8_t> data);

// The information box's text, one labelled line a fact:
// form code, orientation, width, length, resolution, for each page.
using TextLookup = std::function<std::u16string(uint16_t id)>;
std::u16string FormInfoText(const FormDescription& form, const TextLookup& text, bool usePoint);

// Dots at a resolution, in 0.1 mm; 0 for a resolution of 0.
uint32_t DotsToTenthMm(uint32_t dots, uint32_t dpi);

// The fields the page edits, to tell whether the page changed anything.
struct Snapshot {
  uint32_t mode, option, preview;
  char16_t comment[32];
  char16_t path[260];
};
Snapshot TakeSnapshot(const JobSettings& js);
bool Changed(const Snapshot& before, const JobSettings& js);

// The page's fields from the default record.
void RestoreDefaults(JobSettings& js, const JobSettings& defaults);

}  // namespace vq::overlay
