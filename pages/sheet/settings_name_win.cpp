#include "pages/sheet/settings_name_win.h"

#include <prsht.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "devinfo/text_ids.h"
#include "uicore/texts_win.h"

namespace vq {

inline constexpr uint16_t kCurrentSettingsText = text_ids::kSettingsNameCurrent;
inline constexpr size_t kNameUnits = std::size(JobSettings{}.SettingsName);

// The two fixed items are named in the user's language whatever the record
// says: a default record stored by an English installation still reads
// "Default settings", and a Chinese user is to see the Chinese name. Only a
// favourite's name is the user's own text.
void ShowSettingsName(HWND dialog, int nameControl, const JobSettings& js) {
  wchar_t name[kNameUnits + 1] = {};
  const uint16_t fixed = text_ids::FixedSettingsNameText(js.SettingsNameId);
  if (!fixed || !LoadTextById(fixed, name, sizeof name - sizeof(wchar_t)) || !name[0])
    std::copy(std::begin(js.SettingsName), std::end(js.SettingsName), name);
  // The pages show the name again on every preview redraw: a text that is
  // already there is not set (and repainted) again.
  wchar_t shown[kNameUnits + 1] = {};
  GetDlgItemTextW(dialog, nameControl, shown, static_cast<int>(std::size(shown)));
  if (std::wcscmp(shown, name)) SetDlgItemTextW(dialog, nameControl, name);
}

void ForgetSettingsName(HWND dialog, int nameControl, JobSettings& js) {
  wchar_t text[kNameUnits] = {};
  LoadTextById(kCurrentSettingsText, text, sizeof text - sizeof(wchar_t));
  std::fill(std::begin(js.SettingsName), std::end(js.SettingsName), u'\0');
  std::copy_n(text, std::size(text) - 1, js.SettingsName);
  js.SettingsNameId = 0;
  ShowSettingsName(dialog, nameControl, js);
}

void NoteSettingsChanged(HWND page, int nameControl, JobSettings& js) {
  ForgetSettingsName(page, nameControl, js);
  PropSheet_Changed(GetParent(page), page);
}

}  // namespace vq
