// The settings-name display every document page keeps ("Settings:" and the
// name of the settings set in use), and what an edit does to it: the record
// no longer is a named set, so it becomes "current settings" by hand.
#pragma once

#include <windows.h>

#include "settings/job_settings.h"

namespace vq {

// Shows the record's SettingsName (cut at its field, terminated or not).
void ShowSettingsName(HWND dialog, int nameControl, const JobSettings& js);
// SettingsName := text 4760, SettingsNameId := 0, shown in nameControl.
void ForgetSettingsName(HWND dialog, int nameControl, JobSettings& js);
// An edit on a page: the name is forgotten and the sheet's Apply enabled.
void NoteSettingsChanged(HWND page, int nameControl, JobSettings& js);

}  // namespace vq
