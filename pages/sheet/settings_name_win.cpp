#include "pages/sheet/settings_name_win.h"

#include <prsht.h>

#include <algorithm>
#include <iterator>

#include "uicore/texts_win.h"

namespace vq {

inline constexpr uint16_t kCurrentSettingsText = 4760;
inline constexpr size_t kNameUnits = std::size(JobSettings{}.SettingsName);

void ShowSettingsName(HWND dialog, int nameControl, const JobSettings& js) {
  wchar_t name[kNameUnits + 1] = {};
  std::copy(std::begin(js.SettingsName), std::end(js.SettingsName), name);
  SetDlgItemTextW(dialog, nameControl, name);
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
