#include "pages/advanced/advanced_page_win.h"

#include <commctrl.h>
#include <winspool.h>

#include <vector>

#include "base/handles_win.h"
#include "devinfo/text_ids.h"
#include "pages/advanced/advanced_rules.h"
#include "pages/basic/paper_tip_win.h"
#include "pages/overlay/overlay_dialog_win.h"
#include "pages/page_layouts.h"
#include "pages/sheet/settings_name_win.h"
#include "settings/file_access_win.h"
#include "settings/job_checks.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/help_topics.h"
#include "uicore/resource_ids.h"
#include "uicore/texts_win.h"
#include "uicore/page_preview_win.h"

namespace vq {
namespace {

// The page preview of the paper in this page's frame.
constexpr uint32_t kAdvancedPreviewMode = 5;

inline constexpr uint16_t kLevelUnitText = 5012;
inline constexpr uint16_t kPagesPerSheetTexts = 4985;  // 4985..4990, one a choice
inline constexpr uint16_t kLayoutBackground = 211;
inline constexpr DWORD kRawOnlyQueue = 0x1000;  // PRINTER_ATTRIBUTE_RAW_ONLY

struct AdvancedState {
  advanced::State now, reference;
};

HWND Item(HWND page, int id) { return GetDlgItem(page, id); }
void Enable(HWND page, std::initializer_list<int> ids, bool on) {
  for (int id : ids) EnableWindow(Item(page, id), on);
}
void Show(HWND page, std::initializer_list<int> ids, bool on) {
  for (int id : ids) ShowWindow(Item(page, id), on ? SW_SHOW : SW_HIDE);
}

// The queue's raw-only attribute; a queue that cannot be asked leaves the
// controls as they are.
bool ReadRawOnly(PageCall& call, bool* rawOnly) {
  const HANDLE printer = call.sheet.dataPrinter();
  DWORD needed = 0;
  GetPrinterW(printer, 5, nullptr, 0, &needed);
  if (!needed) return false;
  std::vector<BYTE> buffer(needed);
  if (!GetPrinterW(printer, 5, buffer.data(), needed, &needed)) return false;
  *rawOnly = reinterpret_cast<const PRINTER_INFO_5W*>(buffer.data())->Attributes & kRawOnlyQueue;
  return true;
}

void ApplyRawOnly(PageCall& call) {
  bool rawOnly = false;
  if (!ReadRawOnly(call, &rawOnly)) return;
  AdvancedState& s = call.Get<AdvancedState>();
  s.now.rawOnly = s.reference.rawOnly = rawOnly;
  if (rawOnly)
    Enable(call.page, {IDC_ADVANCED_PAGES_PER_SHEET_LIST, IDC_ADVANCED_PAGES_PER_SHEET_CAPTION,
                       IDC_ADVANCED_PAGE_ORDER_GROUP, IDC_ADVANCED_NORMAL_ORDER,
                       IDC_ADVANCED_REVERSE_ORDER, IDC_ADVANCED_NORMAL_ORDER_ICON,
                       IDC_ADVANCED_REVERSE_ORDER_ICON, IDC_ADVANCED_BORDER},
           false);
}

void ApplyOrderRule(PageCall& call) {
  const advanced::OrderControls c =
      advanced::OrderControlsFor(call.Get<AdvancedState>().now.rawOnly,
                                 call.sheet.workSettings.PagesPerSheet);
  Enable(call.page, {IDC_ADVANCED_PAGE_ORDER_GROUP, IDC_ADVANCED_NORMAL_ORDER, IDC_ADVANCED_REVERSE_ORDER},
         c.orderEnabled);
  // The border box is kept hidden: pages per sheet come only from the record.
  EnableWindow(Item(call.page, IDC_ADVANCED_BORDER), FALSE);
}

void SelectControls(PageCall& call) {
  const JobSettings& js = call.sheet.workSettings;
  SendDlgItemMessageW(call.page, IDC_ADVANCED_PAGES_PER_SHEET_LIST, LB_SETCURSEL,
                      static_cast<WPARAM>(advanced::PagesIndex(js.PagesPerSheet)), 0);
  CheckRadioButton(call.page, IDC_ADVANCED_NORMAL_ORDER, IDC_ADVANCED_REVERSE_ORDER,
                   js.PageOrder == 1 ? IDC_ADVANCED_REVERSE_ORDER : IDC_ADVANCED_NORMAL_ORDER);
  CheckDlgButton(call.page, IDC_ADVANCED_BORDER, js.PageBorder == 1);
}

void ShowLevel(PageCall& call) {
  const HWND p = call.page;
  const advanced::LevelView view = advanced::ViewLevel(call.sheet.workSettings.PrintLevel);
  if (view.position >= 0)
    SendDlgItemMessageW(p, IDC_ADVANCED_LEVEL_SLIDER, TBM_SETPOS, TRUE, view.position);
  wchar_t level[64] = {}, unit[64] = {};
  if (view.text) LoadTextById(view.text, level, sizeof level);
  LoadTextById(kLevelUnitText, unit, sizeof unit);
  SetDlgItemTextW(p, IDC_ADVANCED_LEVEL_TEXT, (std::wstring(level) + unit).c_str());
  CheckDlgButton(p, IDC_ADVANCED_AUTO_LEVEL, view.automatic);
  Enable(p, {IDC_ADVANCED_LEVEL_SLIDER, IDC_ADVANCED_LEVEL_TEXT}, !view.automatic);
  Show(p, {IDC_ADVANCED_SLOW_ICON_AUTO, IDC_ADVANCED_FAST_ICON_AUTO}, view.automatic);
  Show(p, {IDC_ADVANCED_SLOW_ICON, IDC_ADVANCED_FAST_ICON}, !view.automatic);
}

void CheckChange(PageCall& call) {
  const AdvancedState& s = call.Get<AdvancedState>();
  JobSettings& js = call.sheet.workSettings;
  if (advanced::Changed(s.reference, s.now))
    NoteSettingsChanged(call.page, IDC_ADVANCED_SETTINGS_NAME, js);
  else
    ShowSettingsName(call.page, IDC_ADVANCED_SETTINGS_NAME, js);
  InvalidateRect(Item(call.page, IDC_ADVANCED_LAYOUT_PICTURE), nullptr, FALSE);
}

void LoadState(PageCall& call) {
  AdvancedState& s = call.Get<AdvancedState>();
  s.now = s.reference = advanced::StateOf(call.sheet.workSettings, false);
  ApplyRawOnly(call);
}

void OnInit(PageCall& call) {
  const HWND p = call.page;
  AttachPreviewTip(p, Item(p, IDC_ADVANCED_PAPER_PREVIEW), Item(p, IDC_ADVANCED_LAYOUT_PICTURE));
  LoadState(call);
  const HWND list = Item(p, IDC_ADVANCED_PAGES_PER_SHEET_LIST);
  for (size_t i = 0; i < std::size(advanced::kPagesPerSheet); ++i) {
    wchar_t text[64] = {};
    LoadTextById(static_cast<uint16_t>(kPagesPerSheetTexts + i), text, sizeof text);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SelectControls(call);
  ApplyOrderRule(call);
  SendDlgItemMessageW(p, IDC_ADVANCED_LEVEL_SLIDER, TBM_SETRANGE, TRUE,
                      MAKELPARAM(0, advanced::kLastPosition));
  SendDlgItemMessageW(p, IDC_ADVANCED_LEVEL_SLIDER, TBM_SETTICFREQ, 1, 0);
  ShowLevel(call);
  ShowSettingsName(p, IDC_ADVANCED_SETTINGS_NAME, call.sheet.workSettings);
}

void OnActivate(PageCall& call) {
  const HWND p = call.page;
  JobSettings& js = call.sheet.workSettings;
  const bool slowMedia = js.MediaClass == advanced::kSlowMediaClass;
  SendDlgItemMessageW(p, IDC_ADVANCED_LEVEL_SLIDER, TBM_SETRANGE, TRUE,
                      MAKELPARAM(0, advanced::LastPosition(js)));
  advanced::LimitLevelForMedia(js);
  EnableWindow(Item(p, IDC_ADVANCED_AUTO_LEVEL), !slowMedia);
  LoadState(call);
  SelectControls(call);
  ApplyOrderRule(call);
  ShowLevel(call);
  ShowSettingsName(p, IDC_ADVANCED_SETTINGS_NAME, js);
}

void OnLevelChanged(PageCall& call) {
  JobSettings& js = call.sheet.workSettings;
  const bool automatic = IsDlgButtonChecked(call.page, IDC_ADVANCED_AUTO_LEVEL) == BST_CHECKED;
  const int position =
      static_cast<int>(SendDlgItemMessageW(call.page, IDC_ADVANCED_LEVEL_SLIDER, TBM_GETPOS, 0, 0));
  js.PrintLevel = advanced::ChangedLevel(js.PrintLevel, automatic, position);
  call.Get<AdvancedState>().now.printLevel = js.PrintLevel;
  ShowLevel(call);
  CheckChange(call);
}

void OnCommand(PageCall& call, UINT id, UINT code) {
  const HWND p = call.page;
  JobSettings& js = call.sheet.workSettings;
  AdvancedState& s = call.Get<AdvancedState>();
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_ADVANCED_AUTO_LEVEL:
      OnLevelChanged(call);
      return;
    case IDC_ADVANCED_NORMAL_ORDER:
    case IDC_ADVANCED_REVERSE_ORDER:
      js.PageOrder = s.now.pageOrder = id == IDC_ADVANCED_REVERSE_ORDER ? 1 : 0;
      CheckChange(call);
      return;
    case IDC_ADVANCED_OVERLAY_SETTINGS:
      if (ShowOverlaySettingsDialog(p, js) != IDOK) return;
      s.now = advanced::StateOf(js, s.now.rawOnly);
      CheckChange(call);
      return;
    case IDC_ADVANCED_DEFAULTS: {
      JobSettings defaults{};
      if (!SetDefaultJobSettings(&defaults, Services())) return;
      advanced::RestoreDefaults(js, defaults);
      s.now = advanced::StateOf(js, s.now.rawOnly);
      SelectControls(call);
      ShowLevel(call);
      ApplyOrderRule(call);
      CheckChange(call);
      ForgetSettingsName(p, IDC_ADVANCED_SETTINGS_NAME, js);
      SetFocus(Item(p, IDC_ADVANCED_DEFAULTS));
      return;
    }
    default:
      return;
  }
}

bool OnScroll(PageCall& call, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_HSCROLL ||
      reinterpret_cast<HWND>(lParam) != Item(call.page, IDC_ADVANCED_LEVEL_SLIDER))
    return false;
  OnLevelChanged(call);
  return true;
}

void StretchResourceBitmap(HDC dc, HMODULE module, uint16_t id, const RECT& r) {
  UniqueGdi<HBITMAP> bitmap(static_cast<HBITMAP>(
      LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    return;
  }
  BITMAP info{};
  GetObjectW(bitmap.get(), sizeof info, &info);
  UniqueDc memory(CreateCompatibleDC(dc));
  const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), 0, 0,
             info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(memory.get(), old);
}

void DrawLayoutPicture(PageCall& call, const DRAWITEMSTRUCT& di) {
  const JobSettings& js = call.sheet.workSettings;
  const HMODULE icons = call.sheet.hIconModule.get();
  const HDC dc = di.hDC;
  StretchResourceBitmap(dc, icons, kLayoutBackground, di.rcItem);
  const bool portrait = js.dmOrientation == 1;
  const advanced::LayoutPicture pic =
      advanced::PictureFor(js.PagesPerSheet, portrait, advanced::PaperRatio(js.Paper));
  if (!pic.bitmap) return;  // a count no choice makes: the background alone
  const int w = di.rcItem.right - di.rcItem.left, h = di.rcItem.bottom - di.rcItem.top;
  const advanced::Rect r = advanced::SheetRect(w, h, portrait, pic.turned);
  RECT sheet{di.rcItem.left + r.left, di.rcItem.top + r.top, di.rcItem.left + r.right,
             di.rcItem.top + r.bottom};
  int32_t offset = 3;
  ScaleByDpi(screenDpiX, 3, &offset);
  RECT shadow = sheet;
  OffsetRect(&shadow, offset, offset);
  UniqueGdi<HBRUSH> dark(CreateSolidBrush(RGB(64, 64, 64)));
  FillRect(dc, &shadow, dark.get());
  StretchResourceBitmap(dc, icons, pic.bitmap, sheet);
  if (js.PageBorder != 1 || js.PagesPerSheet == 1) return;
  const advanced::Rect b = advanced::BorderBox({sheet.left, sheet.top, sheet.right, sheet.bottom});
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(80, 80, 80)));
  const HGDIOBJ oldPen = SelectObject(dc, pen.get());
  const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, b.left, b.top, b.right, b.bottom);
  const bool wide = b.right - b.left >= b.bottom - b.top;
  const int columns = wide ? pic.cellsLong : pic.cellsShort;
  const int rows = wide ? pic.cellsShort : pic.cellsLong;
  for (int i = 1; i < columns; ++i) {
    const int x = b.left + (b.right - b.left) * i / columns;
    MoveToEx(dc, x, b.top, nullptr);
    LineTo(dc, x, b.bottom);
  }
  for (int i = 1; i < rows; ++i) {
    const int y = b.top + (b.bottom - b.top) * i / rows;
    MoveToEx(dc, b.left, y, nullptr);
    LineTo(dc, b.right, y);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

bool OnDrawItem(PageCall& call, const DRAWITEMSTRUCT& di) {
  switch (di.CtlID) {
    case IDC_ADVANCED_LAYOUT_PICTURE:
      DrawLayoutPicture(call, di);
      return true;
    case IDC_ADVANCED_PAPER_PREVIEW:
      return DrawPreviewItem(call.sheet.hIconModule.get(), di, call.sheet.workSettings,
                             kAdvancedPreviewMode);
    default:
      return false;
  }
}

LONG OnApply(PageCall& call) {
  // The basic page asks about the media's profiles; this page only holds
  // its result back. (The overlay form is the frame's check.)
  Win32FileAccess files;
  Win32PrinterStore printer(call.sheet.dataPrinter(), false);
  return CheckMediaProfiles(call.sheet.workSettings, &printer, files) ? PSNRET_NOERROR
                                                                     : kApplyWithoutResult;
}

}  // namespace

const PageRow kAdvancedPage = {
    IDD_ADVANCED, text_ids::kAdvancedPageTitle, rd::kAdvancedTabIcon, kPageFlags,
    PageCondition::kPrintLayout, help::kAdvancedPage, &pages::kLayoutAdvanced,
    pages::kTextsAdvanced, pages::kHelpAdvanced, 0,
    {.init = OnInit, .activate = OnActivate, .command = OnCommand, .drawItem = OnDrawItem,
     .apply = OnApply, .other = OnScroll},
    PageStateSize<AdvancedState>(), &PageProc<kAdvancedPage>};

}  // namespace vq
