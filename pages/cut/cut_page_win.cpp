#include "pages/cut/cut_page_win.h"

#include <commctrl.h>

#include "base/handles_win.h"
#include "devinfo/text_ids.h"
#include "pages/cut/cut_rules.h"
#include "pages/page_layouts.h"
#include "pages/sheet/settings_name_win.h"
#include "settings/services_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/resource_ids.h"
#include "uicore/shared_controls_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

struct CutState {
  cut::Snapshot snapshot;
  bool settingControls;  // the page itself writes the count field: no EN_CHANGE
};

inline constexpr uint16_t kMessageShortPieces = 4114;
inline constexpr uint16_t kFirstModeBitmap = 473;
inline constexpr uint16_t kSecondModeBitmap = 474;

HWND Item(HWND page, int id) { return GetDlgItem(page, id); }
void Enable(HWND page, std::initializer_list<int> ids, bool on) {
  for (int id : ids) EnableWindow(Item(page, id), on);
}

void WriteCount(PageCall& call, uint32_t count) {
  CutState& s = call.Get<CutState>();
  s.settingControls = true;
  SetDlgItemInt(call.page, IDC_CUT_COUNT, count, FALSE);
  s.settingControls = false;
}

void SetControls(PageCall& call) {
  const HWND p = call.page;
  const cut::CutControls c = cut::ControlsFor(call.sheet.workSettings);
  CheckDlgButton(p, IDC_CUT_CUT_LABELS, c.cutting);
  CheckDlgButton(p, IDC_CUT_LEADING_EDGE, c.leading);
  CheckDlgButton(p, IDC_CUT_TRAILING_EDGE, c.trailing);
  CheckDlgButton(p, IDC_CUT_BETWEEN_LABELS, c.between);
  CheckRadioButton(p, IDC_CUT_EVERY_N_LABELS, IDC_CUT_EVERY_COPY,
                   c.afterCopy ? IDC_CUT_EVERY_COPY : IDC_CUT_EVERY_N_LABELS);
  CheckDlgButton(p, IDC_CUT_WITHIN_COPY, c.withinCopy);
  Enable(p, {IDC_CUT_ILLUSTRATION, IDC_CUT_LEADING_EDGE, IDC_CUT_TRAILING_EDGE,
             IDC_CUT_BETWEEN_LABELS, IDC_CUT_EVERY_N_LABELS_ICON, IDC_CUT_EVERY_COPY_ICON},
         c.groupEnabled);
  Enable(p, {IDC_CUT_EVERY_N_LABELS, IDC_CUT_EVERY_COPY}, c.modeEnabled);
  Enable(p, {IDC_CUT_WITHIN_COPY}, c.withinCopyEnabled);
  Enable(p, {IDC_CUT_COUNT_CAPTION, IDC_CUT_COUNT, IDC_CUT_COUNT_SPIN, IDC_CUT_COUNT_UNIT},
         c.countEnabled);
  ShowWindow(Item(p, IDC_CUT_EVERY_N_LABELS_ICON), c.afterCopy ? SW_HIDE : SW_SHOW);
  ShowWindow(Item(p, IDC_CUT_EVERY_COPY_ICON), c.afterCopy ? SW_SHOW : SW_HIDE);
  WriteCount(call, c.count);
  wchar_t unit[64] = {};
  LoadTextById(c.unitText, unit, sizeof unit);
  SetDlgItemTextW(p, IDC_CUT_COUNT_UNIT, unit);
  ShowSettingsName(p, IDC_CUT_SETTINGS_NAME, call.sheet.workSettings);
  InvalidateRect(Item(p, IDC_CUT_ILLUSTRATION), nullptr, FALSE);
}

void CheckChange(PageCall& call) {
  if (cut::Changed(call.Get<CutState>().snapshot, call.sheet.workSettings))
    NoteSettingsChanged(call.page, IDC_CUT_SETTINGS_NAME, call.sheet.workSettings);
  InvalidateRect(Item(call.page, IDC_CUT_ILLUSTRATION), nullptr, FALSE);
}

void OnInit(PageCall& call) {
  // The spinner moves the count relative to what the field holds: it
  // rests at 0 and does not write into the field (no UDS_SETBUDDYINT).
  const HWND spin = Item(call.page, IDC_CUT_COUNT_SPIN);
  SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(-cut::kMaxCount), cut::kMaxCount);
  SendMessageW(spin, UDM_SETPOS32, 0, 0);
  SendDlgItemMessageW(call.page, IDC_CUT_COUNT, EM_SETLIMITTEXT, 4, 0);
  cut::RaiseModeCount(call.sheet.workSettings);
  // The controls follow the record at PSN_SETACTIVE, which comes at once:
  // the page is made only when it is first shown.
}

void OnActivate(PageCall& call) {
  call.Get<CutState>().snapshot = cut::TakeSnapshot(call.sheet.workSettings);
  SetControls(call);
}

void OnCountEdited(PageCall& call) {
  if (call.Get<CutState>().settingControls) return;
  wchar_t text[16] = {};
  GetDlgItemTextW(call.page, IDC_CUT_COUNT, text, 16);
  JobSettings& js = call.sheet.workSettings;
  const cut::CountEntry entry = cut::TypedCount(reinterpret_cast<const char16_t*>(text), js);
  if (!entry.store) return;
  cut::ModeCount(js) = entry.value;
  if (entry.rewrite) {
    WriteCount(call, entry.value);
    SendDlgItemMessageW(call.page, IDC_CUT_COUNT, EM_SETSEL, 0, -1);
  }
  CheckChange(call);
}

void OnCommand(PageCall& call, UINT id, UINT code) {
  const HWND p = call.page;
  JobSettings& js = call.sheet.workSettings;
  switch (id) {
    case IDC_CUT_CUT_LABELS:
      if (code != BN_CLICKED) return;
      if (IsDlgButtonChecked(p, id) == BST_CHECKED) {
        if (cut::SwitchCuttingOn(js)) ShowMessageById(p, kMessageShortPieces);
      } else {
        cut::SwitchCuttingOff(js);
      }
      SetControls(call);
      CheckChange(call);
      return;
    case IDC_CUT_LEADING_EDGE:
    case IDC_CUT_TRAILING_EDGE:
    case IDC_CUT_BETWEEN_LABELS:
    case IDC_CUT_EVERY_N_LABELS:
    case IDC_CUT_EVERY_COPY:
    case IDC_CUT_WITHIN_COPY:
      if (code != BN_CLICKED) return;
      js.Option740 = cut::BuildOption740(
          js.Option740, IsDlgButtonChecked(p, IDC_CUT_LEADING_EDGE) == BST_CHECKED,
          IsDlgButtonChecked(p, IDC_CUT_TRAILING_EDGE) == BST_CHECKED,
          IsDlgButtonChecked(p, IDC_CUT_BETWEEN_LABELS) == BST_CHECKED,
          IsDlgButtonChecked(p, IDC_CUT_EVERY_COPY) == BST_CHECKED,
          IsDlgButtonChecked(p, IDC_CUT_WITHIN_COPY) == BST_CHECKED);
      SetControls(call);
      CheckChange(call);
      return;
    case IDC_CUT_COUNT:
      if (code == EN_CHANGE) OnCountEdited(call);
      return;
    case IDC_CUT_DEFAULTS: {
      if (code != BN_CLICKED) return;
      JobSettings defaults{};
      if (!SetDefaultJobSettings(&defaults, Services())) return;
      cut::RestoreDefaults(js, defaults);
      SetControls(call);
      CheckChange(call);
      ForgetSettingsName(p, IDC_CUT_SETTINGS_NAME, js);
      SetFocus(Item(p, IDC_CUT_DEFAULTS));
      return;
    }
    default:
      return;
  }
}

bool OnSpin(PageCall& call, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND spin = Item(call.page, IDC_CUT_COUNT_SPIN);
  if (message != WM_VSCROLL || reinterpret_cast<HWND>(lParam) != spin) return false;
  if (LOWORD(wParam) == SB_ENDSCROLL) return true;
  const int32_t delta = static_cast<int32_t>(SendMessageW(spin, UDM_GETPOS32, 0, 0));
  SendMessageW(spin, UDM_SETPOS32, 0, 0);
  JobSettings& js = call.sheet.workSettings;
  int32_t field = ReadEditInteger(Item(call.page, IDC_CUT_COUNT));
  if (field == kEmptyEditInteger) field = static_cast<int32_t>(cut::ModeCount(js));
  const uint32_t count = cut::SpunCount(field, delta, js);
  cut::ModeCount(js) = count;
  WriteCount(call, count);
  CheckChange(call);
  return true;
}

bool OnDrawItem(PageCall& call, const DRAWITEMSTRUCT& di) {
  if (di.CtlID != IDC_CUT_ILLUSTRATION) return false;
  const JobSettings& js = call.sheet.workSettings;
  const bool afterCopy = cut::AfterCopy(js);
  FillRect(di.hDC, &di.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  UniqueGdi<HBITMAP> strip(static_cast<HBITMAP>(
      LoadImageW(call.sheet.hIconModule.get(),
                 MAKEINTRESOURCEW(afterCopy ? kSecondModeBitmap : kFirstModeBitmap), IMAGE_BITMAP,
                 0, 0, LR_CREATEDIBSECTION)));
  if (!strip) return true;
  BITMAP info{};
  GetObjectW(strip.get(), sizeof info, &info);
  UniqueDc memory(CreateCompatibleDC(di.hDC));
  const HGDIOBJ oldBitmap = SelectObject(memory.get(), strip.get());
  // Red cut lines; grey ones while cutting is off, so the picture still
  // shows where the strip would be cut once it is switched on.
  const LOGBRUSH brush{BS_SOLID, (di.itemState & ODS_DISABLED) ? RGB(160, 160, 160) : RGB(255, 0, 0), 0};
  UniqueGdi<HPEN> pen(ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 3, &brush, 0, nullptr));
  const HGDIOBJ oldPen = SelectObject(memory.get(), pen.get());
  for (int x : cut::CutLinePositions(js.Option740, cut::ModeCount(js))) {
    MoveToEx(memory.get(), x, cut::kCutLineTop, nullptr);
    LineTo(memory.get(), x, cut::kCutLineBottom);
  }
  SelectObject(memory.get(), oldPen);
  const int w = di.rcItem.right - di.rcItem.left, h = di.rcItem.bottom - di.rcItem.top;
  SetStretchBltMode(di.hDC, HALFTONE);
  SetBrushOrgEx(di.hDC, 0, 0, nullptr);
  StretchBlt(di.hDC, di.rcItem.left, di.rcItem.top, w, h, memory.get(), 0, 0, info.bmWidth,
             info.bmHeight, SRCCOPY);
  SelectObject(memory.get(), oldBitmap);
  return true;
}

}  // namespace

const PageRow kCutPage = {
    IDD_CUT, text_ids::kCutPageTitle, rd::kCutTabIcon, kPageFlags, PageCondition::kAlways,
    help::kCutPage, &pages::kLayoutCut, pages::kTextsCut, pages::kHelpCut,
    text_ids::kCutPageWindowText,
    {.init = OnInit, .activate = OnActivate, .command = OnCommand, .drawItem = OnDrawItem,
     .other = OnSpin},
    PageStateSize<CutState>(), &PageProc<kCutPage>};

}  // namespace vq
