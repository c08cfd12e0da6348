// The paper, media, copies, orientation, cut, overlay and page-layout
// settings of a record by name, for tools that set a printer's default job
// settings without a window (`vq312ctl defaults set cut.every=3`). Values
// are checked as the pages check them; a value a page would never store is
// refused with the reason and leaves the record as it was.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "devinfo/paper_media.h"
#include "settings/job_settings.h"

namespace vq {

struct FieldChange {
  bool known;          // the key is one of these pages' settings
  bool ok;             // the record took the value
  std::string reason;  // why not, for the administrator
  std::string note;    // taken, with a consequence the page would tell the user
};

// What the paper, media and copies are checked against: the printer's own
// tables and limits, as the basic page sees them. Empty tables or a copy
// limit of 0 refuse those keys.
struct JobFieldPrinter {
  std::span<const PaperInfo> papers;
  std::span<const MediaData> media;
  int32_t maxCopies = 0;
  bool narrowMarginAllowed = false;
};

// Sets one setting. Unknown keys leave the record alone with known = false.
FieldChange SetJobField(JobSettings& js, std::string_view key, std::string_view value,
                        const JobFieldPrinter& printer = {});

// The basic page's settings of a record as key=value (paper, media, copies,
// orientation), each with the name the printer gives it (empty when none).
struct FieldValue {
  std::string key, value;
  std::u16string name;
};
std::vector<FieldValue> GetPageFields(const JobSettings& js, const JobFieldPrinter& printer);

// "key=values" lines for a usage text.
std::span<const char* const> JobFieldHelp();

}  // namespace vq
