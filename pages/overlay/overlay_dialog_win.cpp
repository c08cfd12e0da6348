#include "pages/overlay/overlay_dialog_win.h"

#include "base/text_win.h"
#include "pages/overlay/overlay_form_win.h"
#include "pages/overlay/overlay_rules.h"
#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "settings/job_checks.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/sheet_context_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

inline constexpr uint16_t kMessageReplaceFile = 4065;
inline constexpr uint16_t kMessageNotAForm = 4083;
inline constexpr uint16_t kOverlayTitle = 4748;
inline constexpr UINT kSetOptionMessage = WM_APP + 1;

// The dialog's data: the record it edits on OK, and a guard that keeps the
// dialog's own writes into the path edits from reading the file again.
struct OverlayDialogData {
  JobSettings* js;
  bool settingControls;
};

bool IsCreate(HWND d) { return IsDlgButtonChecked(d, IDC_OVERLAYSETTINGS_CREATE_MODE) == BST_CHECKED; }
int PathField(bool create) { return create ? IDC_OVERLAYSETTINGS_CREATE_PATH : IDC_OVERLAYSETTINGS_USE_PATH; }

void LayOutMode(HWND d, bool create) {
  for (const overlay::ModeControl& c : overlay::ModeControls()) {
    const HWND control = GetDlgItem(d, c.id);
    if (!control) continue;
    const bool inMode = create ? c.enabledInCreate : c.enabledInUse;
    EnableWindow(control, inMode);
    if (c.hideWhenDisabled) ShowWindow(control, inMode ? SW_SHOW : SW_HIDE);
  }
  CheckDlgButton(d, IDC_OVERLAYSETTINGS_CREATE_MODE, create);
  CheckDlgButton(d, IDC_OVERLAYSETTINGS_USE_MODE, !create);
}

void SelectField(HWND d, int field) {
  SetFocus(GetDlgItem(d, field));
  SendDlgItemMessageW(d, field, EM_SETSEL, 0, -1);
}

// The form's facts for the mode's path; the user hears of a file that is
// not a form.
void CheckPath(DialogCall& call, bool create, bool tell) {
  OverlayDialogData& data = call.Get<OverlayDialogData>();
  const int field = PathField(create);
  data.settingControls = true;
  const overlay::FormCheck check = ShowFormInfo(call.dialog, PathFieldText(call.dialog, field), create);
  data.settingControls = false;
  if (tell && check == overlay::FormCheck::kUnreadable) {
    ShowMessageById(call.dialog, kMessageNotAForm);
    SelectField(call.dialog, field);
  }
}

void OnInit(DialogCall& call) {
  const HWND d = call.dialog;
  OverlayDialogData& data = call.Get<OverlayDialogData>();
  const JobSettings& js = *data.js;
  SetDialogTexts(d, pages::kTextsOverlaysettings);
  SendDlgItemMessageW(d, IDC_OVERLAYSETTINGS_COMMENT, EM_LIMITTEXT, overlay::kCommentChars, 0);
  SendDlgItemMessageW(d, IDC_OVERLAYSETTINGS_USE_PATH, EM_LIMITTEXT, overlay::kPathChars, 0);
  SendDlgItemMessageW(d, IDC_OVERLAYSETTINGS_CREATE_PATH, EM_LIMITTEXT, overlay::kPathChars, 0);
  SendMessageW(d, DM_SETDEFID, IDC_OVERLAYSETTINGS_OK, 0);
  const bool create = overlay::IsCreate(js);
  LayOutMode(d, create);
  // The option radios are set once the dialog has taken its focus: set
  // here, they come out cleared (seen under Wine) when the dialog manager
  // gives the first radio group the focus.
  PostMessageW(d, kSetOptionMessage, 0, 0);
  const std::u16string path = OverlayPathOf(js);
  data.settingControls = true;
  SetDlgItemTextW(d, PathField(create), W(path.c_str()));
  if (create) SetDlgItemTextW(d, IDC_OVERLAYSETTINGS_COMMENT, W(overlay::CommentOf(js).c_str()));
  data.settingControls = false;
  if (!path.empty()) CheckPath(call, create, false);
}

void OnOk(DialogCall& call) {
  const HWND d = call.dialog;
  JobSettings& js = *call.Get<OverlayDialogData>().js;
  const bool create = IsCreate(d);
  const std::wstring path = PathFieldText(d, PathField(create));
  if (create) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        ShowMessageById(d, kMessageReplaceFile, path.c_str()) != IDYES) {
      SelectField(d, IDC_OVERLAYSETTINGS_CREATE_PATH);
      return;
    }
  }
  overlay::ChooseMode(js, create, U(path));
  js.OverlayOption = IsDlgButtonChecked(d, IDC_OVERLAYSETTINGS_FIRST_PAGE_ONLY) == BST_CHECKED
                         ? overlay::kFirstPageOnly
                         : overlay::kEveryPage;
  wchar_t comment[overlay::kCommentChars + 1] = {};
  GetDlgItemTextW(d, IDC_OVERLAYSETTINGS_COMMENT, comment, static_cast<int>(std::size(comment)));
  overlay::SetComment(js, U(comment));
  call.End(IDOK);
}

bool OnCommand(DialogCall& call, UINT id, UINT code) {
  const HWND d = call.dialog;
  switch (id) {
    case IDOK:  // Enter
    case IDC_OVERLAYSETTINGS_OK:
      OnOk(call);
      return true;
    case IDC_OVERLAYSETTINGS_CANCEL:
      call.End(IDCANCEL);
      return true;
    case IDC_OVERLAYSETTINGS_HELP: {
      const SheetContext* sheet = CurrentSheet();
      ShowHelpTopic(d, sheet ? sheet->dataPrinter() : nullptr, help::kOverlayPage);
      return true;
    }
    case IDC_OVERLAYSETTINGS_CREATE_MODE:
    case IDC_OVERLAYSETTINGS_USE_MODE:
      if (code != BN_CLICKED) return false;
      LayOutMode(d, id == IDC_OVERLAYSETTINGS_CREATE_MODE);
      CheckPath(call, id == IDC_OVERLAYSETTINGS_CREATE_MODE, true);
      return true;
    case IDC_OVERLAYSETTINGS_CREATE_PATH:
    case IDC_OVERLAYSETTINGS_USE_PATH:
      if (code != EN_CHANGE || call.Get<OverlayDialogData>().settingControls) return false;
      CheckPath(call, id == IDC_OVERLAYSETTINGS_CREATE_PATH, true);
      return true;
    case IDC_OVERLAYSETTINGS_BROWSE: {
      if (code != BN_CLICKED) return false;
      const bool create = IsCreate(d);
      const std::wstring old = PathFieldText(d, PathField(create));
      std::wstring path = old;
      // OK asks before an existing form is replaced; the file dialog need not.
      if (!BrowseForForm(d, create, false, path) || path == old) return true;
      call.Get<OverlayDialogData>().settingControls = true;
      SetDlgItemTextW(d, PathField(create), path.c_str());
      call.Get<OverlayDialogData>().settingControls = false;
      CheckPath(call, create, true);
      return true;
    }
    default:
      return false;
  }
}

bool OnOther(DialogCall& call, UINT message, WPARAM, LPARAM) {
  if (message != kSetOptionMessage) return false;
  const bool firstPage = call.Get<OverlayDialogData>().js->OverlayOption == overlay::kFirstPageOnly;
  CheckRadioButton(call.dialog, IDC_OVERLAYSETTINGS_FIRST_PAGE_ONLY, IDC_OVERLAYSETTINGS_EVERY_PAGE,
                   firstPage ? IDC_OVERLAYSETTINGS_FIRST_PAGE_ONLY : IDC_OVERLAYSETTINGS_EVERY_PAGE);
  return true;
}

const DialogRow kOverlaySettingsDialog = {
    IDD_OVERLAYSETTINGS, &pages::kLayoutOverlaysettings, pages::kTextsOverlay,
    pages::kHelpOverlay, kOverlayTitle, help::kOverlayPage,
    {.init = OnInit, .command = OnCommand, .other = OnOther}};

}  // namespace

INT_PTR ShowOverlaySettingsDialog(HWND owner, JobSettings& js) {
  OverlayDialogData data{&js, false};
  return RunModalDialog(owner, kOverlaySettingsDialog, &data);
}

}  // namespace vq
