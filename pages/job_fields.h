// The cut, overlay and page-layout settings of a record by name, for tools
// that set a printer's default job settings without a window
// (`vq312ctl defaults set cut.every=3`). Values are checked as the pages
// check them; a value a page would never store is refused with the reason.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "settings/job_settings.h"

namespace vq {

struct FieldChange {
  bool known;          // the key is one of these pages' settings
  bool ok;             // the record took the value
  std::string reason;  // why not, for the administrator
};

// Sets one setting. Unknown keys leave the record alone with known = false.
FieldChange SetJobField(JobSettings& js, std::string_view key, std::string_view value);

// "key=values" lines for a usage text.
std::span<const char* const> JobFieldHelp();

}  // namespace vq
