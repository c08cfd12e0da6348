#include "pages/overlay/overlay_page_win.h"

#include "base/text_win.h"
#include "devinfo/text_ids.h"
#include "pages/overlay/overlay_form_win.h"
#include "pages/overlay/overlay_rules.h"
#include "pages/page_layouts.h"
#include "pages/sheet/settings_name_win.h"
#include "settings/file_access_win.h"
#include "settings/job_checks.h"
#include "settings/services_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/resource_ids.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

inline constexpr uint16_t kMessageFirstPageOnly = 4058;
inline constexpr uint16_t kMessageUnusableForm = 4059;
inline constexpr uint16_t kMessageNotAForm = 4083;

struct OverlayState {
  overlay::Snapshot snapshot;
  bool settingControls;      // the page itself writes the edits: no EN_CHANGE
  FormThumbnail* thumbnail;  // the form the thumbnail shows, decoded once
};

// Everything inside the group that the overlay switch enables.
constexpr int kGroup[] = {IDC_OVERLAY_OVERLAY_GROUP, IDC_OVERLAY_CREATE_MODE, IDC_OVERLAY_USE_MODE,
                          IDC_OVERLAY_PATH_CAPTION,  IDC_OVERLAY_BROWSE};

std::wstring ToWide(const std::u16string& s) { return {s.begin(), s.end()}; }

void SetField(PageCall& call, int id, const wchar_t* text) {
  OverlayState& s = call.Get<OverlayState>();
  s.settingControls = true;
  SetDlgItemTextW(call.page, id, text);
  s.settingControls = false;
}

// The mode's controls, within the overlay switch.
void LayOutMode(HWND page, bool create, bool on) {
  for (int id : kGroup) EnableWindow(GetDlgItem(page, id), on);
  for (const overlay::ModeControl& c : overlay::ModeControls()) {
    const bool inMode = create ? c.enabledInCreate : c.enabledInUse;
    const HWND control = GetDlgItem(page, c.id);
    EnableWindow(control, on && inMode);
    if (c.hideWhenDisabled) ShowWindow(control, inMode ? SW_SHOW : SW_HIDE);
  }
  CheckRadioButton(page, IDC_OVERLAY_CREATE_MODE, IDC_OVERLAY_USE_MODE,
                   create ? IDC_OVERLAY_CREATE_MODE : IDC_OVERLAY_USE_MODE);
}

void Redraw(PageCall& call) {
  InvalidateRect(GetDlgItem(call.page, IDC_OVERLAY_THUMBNAIL), nullptr, FALSE);
}

void CheckChange(PageCall& call) {
  if (overlay::Changed(call.Get<OverlayState>().snapshot, call.sheet.workSettings))
    NoteSettingsChanged(call.page, IDC_OVERLAY_SETTINGS_NAME, call.sheet.workSettings);
  Redraw(call);
}

void TellUnreadable(HWND page, int field) {
  ShowMessageById(page, kMessageNotAForm);
  SetFocus(GetDlgItem(page, field));
  SendDlgItemMessageW(page, field, EM_SETSEL, 0, -1);
}

// The controls from the record: at activation and after Defaults.
void SetControls(PageCall& call) {
  const HWND p = call.page;
  const JobSettings& js = call.sheet.workSettings;
  const bool on = overlay::IsOn(js), create = overlay::IsCreate(js);
  const std::wstring path = ToWide(OverlayPathOf(js));
  CheckDlgButton(p, IDC_OVERLAY_USE_OVERLAY, on);
  CheckDlgButton(p, IDC_OVERLAY_FIRST_PAGE_ONLY, js.OverlayOption == overlay::kFirstPageOnly);
  CheckDlgButton(p, IDC_OVERLAY_SHOW_THUMBNAIL, js.OverlayPreview == 1);
  SetField(call, create ? IDC_OVERLAY_CREATE_PATH : IDC_OVERLAY_USE_PATH, path.c_str());
  SetField(call, IDC_OVERLAY_COMMENT, create ? ToWide(overlay::CommentOf(js)).c_str() : L"");
  call.Get<OverlayState>().settingControls = true;
  ShowFormInfo(p, path, create);
  call.Get<OverlayState>().settingControls = false;
  LayOutMode(p, create, on);
  ShowSettingsName(p, IDC_OVERLAY_SETTINGS_NAME, js);
  Redraw(call);
}

void OnInit(PageCall& call) {
  call.Get<OverlayState>().thumbnail = NewFormThumbnail();
  SendDlgItemMessageW(call.page, IDC_OVERLAY_COMMENT, EM_LIMITTEXT, overlay::kCommentChars, 0);
  SendDlgItemMessageW(call.page, IDC_OVERLAY_USE_PATH, EM_LIMITTEXT, overlay::kPathChars, 0);
  SendDlgItemMessageW(call.page, IDC_OVERLAY_CREATE_PATH, EM_LIMITTEXT, overlay::kPathChars, 0);
  call.Get<OverlayState>().snapshot = overlay::TakeSnapshot(call.sheet.workSettings);
  SetControls(call);
}

void OnActivate(PageCall& call) {
  call.Get<OverlayState>().snapshot = overlay::TakeSnapshot(call.sheet.workSettings);
  SetControls(call);
}

// A path chosen in use mode: its facts, then the record.
void UsePath(PageCall& call, const std::wstring& path, bool tell) {
  call.Get<OverlayState>().settingControls = true;
  SetDlgItemTextW(call.page, IDC_OVERLAY_COMMENT, L"");
  const overlay::FormCheck check = ShowFormInfo(call.page, path, false);
  call.Get<OverlayState>().settingControls = false;
  overlay::SetPath(call.sheet.workSettings, U(path));
  if (tell && check == overlay::FormCheck::kUnreadable) TellUnreadable(call.page, IDC_OVERLAY_USE_PATH);
}

void OnCommand(PageCall& call, UINT id, UINT code) {
  const HWND p = call.page;
  JobSettings& js = call.sheet.workSettings;
  OverlayState& s = call.Get<OverlayState>();
  const bool clicked = code == BN_CLICKED;
  switch (id) {
    case IDC_OVERLAY_USE_OVERLAY:
      if (!clicked) return;
      if (IsDlgButtonChecked(p, id) == BST_CHECKED) {
        overlay::SwitchOn(js);
        SetControls(call);
      } else {
        overlay::SwitchOff(js);
        LayOutMode(p, overlay::IsCreate(js), false);
      }
      break;
    case IDC_OVERLAY_CREATE_MODE:
      if (!clicked) return;
      overlay::ChooseMode(js, true, U(PathFieldText(p, IDC_OVERLAY_CREATE_PATH)));
      overlay::SetComment(js, u"");
      SetField(call, IDC_OVERLAY_COMMENT, L"");
      ShowFormInfo(p, std::wstring(), true);
      LayOutMode(p, true, true);
      break;
    case IDC_OVERLAY_USE_MODE: {
      if (!clicked) return;
      const std::wstring path = PathFieldText(p, IDC_OVERLAY_USE_PATH);
      overlay::ChooseMode(js, false, U(path));
      LayOutMode(p, false, true);
      UsePath(call, path, true);
      break;
    }
    case IDC_OVERLAY_BROWSE: {
      if (!clicked) return;
      const bool create = overlay::IsCreate(js);
      const int field = create ? IDC_OVERLAY_CREATE_PATH : IDC_OVERLAY_USE_PATH;
      const std::wstring old = PathFieldText(p, field);
      std::wstring path = old;
      if (!BrowseForForm(p, create, true, path)) return;
      if (path != old) {
        if (create) {
          overlay::SetPath(js, U(path));
        } else {
          UsePath(call, path, false);
        }
        SetField(call, field, path.c_str());
        if (!create && ShowFormInfo(p, path, false) == overlay::FormCheck::kUnreadable)
          TellUnreadable(p, field);
      }
      break;
    }
    case IDC_OVERLAY_CREATE_PATH:
      if (code != EN_CHANGE || s.settingControls) return;
      overlay::SetPath(js, U(PathFieldText(p, id)));
      break;
    case IDC_OVERLAY_USE_PATH:
      if (code != EN_CHANGE || s.settingControls) return;
      UsePath(call, PathFieldText(p, id), true);
      break;
    case IDC_OVERLAY_COMMENT: {
      if (code != EN_CHANGE || s.settingControls || !overlay::IsCreate(js)) return;
      wchar_t comment[overlay::kCommentChars + 1] = {};
      GetDlgItemTextW(p, id, comment, static_cast<int>(std::size(comment)));
      overlay::SetComment(js, U(comment));
      break;
    }
    case IDC_OVERLAY_FIRST_PAGE_ONLY:
      if (!clicked) return;
      if (IsDlgButtonChecked(p, id) != BST_CHECKED) {
        js.OverlayOption = overlay::kEveryPage;
      } else if (ShowMessageById(p, kMessageFirstPageOnly) == IDYES) {
        // Yes keeps the form on every page: the box goes back off.
        CheckDlgButton(p, id, BST_UNCHECKED);
      } else {
        js.OverlayOption = overlay::kFirstPageOnly;
      }
      break;
    case IDC_OVERLAY_SHOW_THUMBNAIL:
      if (!clicked) return;
      js.OverlayPreview = IsDlgButtonChecked(p, id) == BST_CHECKED ? 1 : 0;
      break;
    case IDC_OVERLAY_HOW_TO_USE:
      if (clicked) ShowHelpTopic(p, call.sheet.dataPrinter(), help::kOverlayHowTo);
      return;
    case IDC_OVERLAY_DEFAULTS: {
      if (!clicked) return;
      JobSettings defaults{};
      if (!SetDefaultJobSettings(&defaults, Services())) return;
      overlay::RestoreDefaults(js, defaults);
      SetField(call, IDC_OVERLAY_CREATE_PATH, L"");
      SetField(call, IDC_OVERLAY_USE_PATH, L"");
      SetControls(call);
      CheckChange(call);
      ForgetSettingsName(p, IDC_OVERLAY_SETTINGS_NAME, js);
      SetFocus(GetDlgItem(p, IDC_OVERLAY_DEFAULTS));
      return;
    }
    default:
      return;
  }
  CheckChange(call);
}

bool OnDrawItem(PageCall& call, const DRAWITEMSTRUCT& di) {
  if (di.CtlID != IDC_OVERLAY_THUMBNAIL) return false;
  const HWND p = call.page;
  const bool shown = IsDlgButtonChecked(p, IDC_OVERLAY_USE_OVERLAY) == BST_CHECKED &&
                     IsDlgButtonChecked(p, IDC_OVERLAY_SHOW_THUMBNAIL) == BST_CHECKED &&
                     IsDlgButtonChecked(p, IDC_OVERLAY_CREATE_MODE) != BST_CHECKED;
  const int field = overlay::IsCreate(call.sheet.workSettings) ? IDC_OVERLAY_CREATE_PATH
                                                                : IDC_OVERLAY_USE_PATH;
  DrawFormThumbnail(di, shown ? PathFieldText(p, field) : std::wstring(), call.Get<OverlayState>().thumbnail);
  return true;
}

void OnDestroy(PageCall& call) {
  OverlayState& s = call.Get<OverlayState>();
  DeleteFormThumbnail(s.thumbnail);
  s.thumbnail = nullptr;
}

bool Refuses(const JobSettings& js) {
  Win32FileAccess files;
  return OverlayRefusesJob(CheckOverlayForm(js, files));
}

LONG OnApply(PageCall& call) {
  if (!Refuses(call.sheet.workSettings)) return PSNRET_NOERROR;
  ShowMessageById(call.page, kMessageUnusableForm);
  return PSNRET_INVALID;
}

void OnReset(PageCall& call) {
  // Cancel hands back the record the sheet last applied; say so when its
  // form cannot be printed with.
  if (Refuses(call.sheet.appliedSettings)) ShowMessageById(call.page, kMessageUnusableForm);
}

}  // namespace

const PageRow kOverlayPage = {
    IDD_OVERLAY, text_ids::kOverlayPageTitle, rd::kOverlayTabIcon, kPrematurePageFlags,
    PageCondition::kAlways, help::kOverlayPage, &pages::kLayoutOverlay, pages::kTextsOverlay,
    pages::kHelpOverlay, text_ids::kOverlayPageWindowText,
    {.init = OnInit, .activate = OnActivate, .command = OnCommand, .drawItem = OnDrawItem,
     .apply = OnApply, .destroy = OnDestroy, .reset = OnReset},
    PageStateSize<OverlayState>(), &PageProc<kOverlayPage>};

}  // namespace vq
