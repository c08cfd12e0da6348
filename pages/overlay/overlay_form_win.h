// What the overlay forms page and the overlay settings dialog both do with a
// form file: show its facts, choose it in the file dialog, draw its
// thumbnail. Both use the same control ids for the same roles.
#pragma once

#include <windows.h>

#include <string>

#include "pages/overlay/overlay_rules.h"

namespace vq {

// ShowFormInfo: empties the information box, then (use mode only) reads the
// file whole without sharing it and fills the box and the comment edit from
// it. kNoFile, kUnreadable, kCreateMode or kForm.
overlay::FormCheck ShowFormInfo(HWND dialog, const std::wstring& path, bool createMode);

// The path edit's text, at most overlay::kPathChars characters.
std::wstring PathFieldText(HWND dialog, int control);

// The common file dialog for a form, inside the module's activation context:
// the save dialog to create one, the open dialog to use one. `path` holds
// the current path and receives the chosen one. false: cancelled (or the
// chosen path does not fit the record).
bool BrowseForForm(HWND owner, bool create, bool overwritePrompt, std::wstring& path);

// The last form a thumbnail showed, decoded, so that a repaint does not read
// and decode the file again (a large form takes a tenth of a second); a file
// whose size or time has changed since is read anew.
class FormThumbnail;
FormThumbnail* NewFormThumbnail();
void DeleteFormThumbnail(FormThumbnail* thumbnail);

// Stretches the form's picture into the owner-drawn control, keeping its
// proportions, centred; nothing but the background for an empty path or a
// file the reader cannot draw. Without a `cache` the file is read each time.
void DrawFormThumbnail(const DRAWITEMSTRUCT& di, const std::wstring& path, FormThumbnail* cache);

}  // namespace vq
