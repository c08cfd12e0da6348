// Screenshots of the dialogs a page opens: each button is clicked, the
// dialog it opens is saved and closed again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vq::host {

struct DialogButton {
  int control;         // the page's button
  const wchar_t* name; // the file is dialog-NAME.bmp
};

// The basic settings page's dialogs: favourites, summary, version, custom paper.
extern const std::vector<DialogButton> kBasicPageDialogs;
// The utility page's dialogs that show the printer's data: the custom media
// type editor.
extern const std::vector<DialogButton> kUtilityPageDialogs;

// Shows page `page` of an open sheet, clicks each enabled button of it in
// turn, saves the dialog that opens into `folder` and cancels it. Returns
// the number of dialogs saved; a button that opens nothing within three
// seconds is skipped.
int ScreenshotPageDialogs(HWND sheet, int page, const std::vector<DialogButton>& buttons,
                          const std::wstring& folder);

}  // namespace vq::host
