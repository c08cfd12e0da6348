#include "pages/utility/media_editor_win.h"

#include <commctrl.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/text_win.h"
#include "pages/basic/favourites.h"
#include "pages/basic/favourites_win.h"
#include "pages/colour/colour_rules.h"
#include "pages/colour/gradient_bar_win.h"
#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "pages/utility/media_editor.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/shared_controls_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

constexpr uint16_t kTitleText = 4866;
constexpr uint16_t kColumnText = 4869;
constexpr int kReservedItems = 10;
constexpr int kMaxNameRead = 63;

// The bar colours; the two sets share one cached trough per colour.
constexpr COLORREF kInkColours[4] = {RGB(0, 255, 255), RGB(255, 0, 255), RGB(255, 255, 0),
                                     RGB(0, 0, 0)};
enum Ink { kCyan, kMagenta, kYellow, kBlack };

// The eight rows in screen order; `field` is the value's place in the
// record (set 1 K C M Y, set 2 K C M Y).
struct ValueRow {
  int label, edit, updown, bar;
  Ink ink;
  size_t field;
};
constexpr ValueRow kRows[8] = {
    {IDC_MEDIA_EDITOR_SET1_CYAN_LABEL, IDC_MEDIA_EDITOR_SET1_CYAN_EDIT,
     IDC_MEDIA_EDITOR_SET1_CYAN_UPDOWN, IDC_MEDIA_EDITOR_SET1_CYAN_BAR, kCyan, 1},
    {IDC_MEDIA_EDITOR_SET1_MAGENTA_LABEL, IDC_MEDIA_EDITOR_SET1_MAGENTA_EDIT,
     IDC_MEDIA_EDITOR_SET1_MAGENTA_UPDOWN, IDC_MEDIA_EDITOR_SET1_MAGENTA_BAR, kMagenta, 2},
    {IDC_MEDIA_EDITOR_SET1_YELLOW_LABEL, IDC_MEDIA_EDITOR_SET1_YELLOW_EDIT,
     IDC_MEDIA_EDITOR_SET1_YELLOW_UPDOWN, IDC_MEDIA_EDITOR_SET1_YELLOW_BAR, kYellow, 3},
    {IDC_MEDIA_EDITOR_SET1_BLACK_LABEL, IDC_MEDIA_EDITOR_SET1_BLACK_EDIT,
     IDC_MEDIA_EDITOR_SET1_BLACK_UPDOWN, IDC_MEDIA_EDITOR_SET1_BLACK_BAR, kBlack, 0},
    {IDC_MEDIA_EDITOR_SET2_CYAN_LABEL, IDC_MEDIA_EDITOR_SET2_CYAN_EDIT,
     IDC_MEDIA_EDITOR_SET2_CYAN_UPDOWN, IDC_MEDIA_EDITOR_SET2_CYAN_BAR, kCyan, 5},
    {IDC_MEDIA_EDITOR_SET2_MAGENTA_LABEL, IDC_MEDIA_EDITOR_SET2_MAGENTA_EDIT,
     IDC_MEDIA_EDITOR_SET2_MAGENTA_UPDOWN, IDC_MEDIA_EDITOR_SET2_MAGENTA_BAR, kMagenta, 6},
    {IDC_MEDIA_EDITOR_SET2_YELLOW_LABEL, IDC_MEDIA_EDITOR_SET2_YELLOW_EDIT,
     IDC_MEDIA_EDITOR_SET2_YELLOW_UPDOWN, IDC_MEDIA_EDITOR_SET2_YELLOW_BAR, kYellow, 7},
    {IDC_MEDIA_EDITOR_SET2_BLACK_LABEL, IDC_MEDIA_EDITOR_SET2_BLACK_EDIT,
     IDC_MEDIA_EDITOR_SET2_BLACK_UPDOWN, IDC_MEDIA_EDITOR_SET2_BLACK_BAR, kBlack, 4},
};

struct MediaEditorData {
  SheetContext* sheet = nullptr;
  std::vector<MediaData> table;
  bool usable = false;       // the table was read; false: only Close and Help work
  bool changed = false;      // something was written
  bool filling = false;      // controls are being set from the state
  int selected = -1;
  uint32_t jobMediaId = 0;   // the job's MediaTypeId and dmPrintQuality at opening
  int32_t printQuality = 0;
  uint32_t classValue = 0;
  media::InkValues values{};
  HBITMAP gradient[4] = {};
};

MediaEditorData& Data(const DialogCall& call) { return call.Get<MediaEditorData>(); }
HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

std::wstring TextOf(uint16_t id) {
  wchar_t buffer[128] = {};
  LoadTextById(id, buffer, sizeof buffer - sizeof(wchar_t));
  return buffer;
}

std::u16string NameField(HWND dialog) {
  wchar_t text[kMaxNameRead + 1] = {};
  GetDlgItemTextW(dialog, IDC_MEDIA_EDITOR_NAME, text, kMaxNameRead + 1);
  return Text(text);
}

void ShowValues(MediaEditorData& d, HWND dialog) {
  d.filling = true;
  for (const ValueRow& row : kRows) {
    WriteEditInteger(Item(dialog, row.edit), int32_t(d.values[row.field]));
    SetScrollPos(Item(dialog, row.bar), SB_CTL, int(d.values[row.field]), TRUE);
  }
  d.filling = false;
}

void ShowRow(MediaEditorData& d, HWND dialog, int row) {
  d.selected = row;
  const media::Edits e = media::EditsForRow(d.table, row, d.printQuality);
  const MediaData* m = row >= 0 ? &d.table[size_t(row)] : nullptr;
  d.classValue = e.classValue;
  d.values = e.values;
  d.filling = true;
  SetDlgItemTextW(dialog, IDC_MEDIA_EDITOR_NAME, W(e.name.c_str()));
  d.filling = false;
  // No row (the job's media is not in the table): a new record can be typed.
  const bool nameFree = !m || m->profileNumber == 0;
  const bool classFree = !m || (media::IsCustom(*m) && m->profileNumber == 0);
  EnableWindow(Item(dialog, IDC_MEDIA_EDITOR_NAME), nameFree);
  EnableWindow(Item(dialog, IDC_MEDIA_EDITOR_CLASS_LIST), classFree);
  EnableWindow(Item(dialog, IDC_MEDIA_EDITOR_CLASS_LABEL), classFree);
  EnableWindow(Item(dialog, IDC_MEDIA_EDITOR_DELETE), m && media::IsCustom(*m));
  SendDlgItemMessageW(dialog, IDC_MEDIA_EDITOR_CLASS_LIST, CB_SETCURSEL,
                      WPARAM(media::ClassIndex(e.classValue)), 0);
  ShowValues(d, dialog);
}

void DisableAll(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    if (id != IDC_MEDIA_EDITOR_CLOSE && id != IDC_MEDIA_EDITOR_HELP) EnableWindow(child, FALSE);
  }
}

// Reads the table and fills the list, selecting the record `selectId`.
// false (after message 4085, every control but Close and Help disabled)
// when the table cannot be read.
bool LoadList(MediaEditorData& d, HWND dialog, uint32_t selectId) {
  Win32PrinterStore store(d.sheet->dataPrinter(), false);
  d.usable = media::LoadMediaTable(&store, &d.table) == media::TableStatus::kOk;
  HWND list = Item(dialog, IDC_MEDIA_EDITOR_LIST);
  d.filling = true;
  ListView_DeleteAllItems(list);
  if (d.usable) {
    for (size_t i = 0; i < d.table.size(); ++i) {
      std::u16string name = media::NameOf(d.table[i]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = int(i);
      item.pszText = W(name.data());
      ListView_InsertItem(list, &item);
    }
  }
  d.filling = false;
  if (!d.usable) {
    d.table.clear();
    ShowMessageById(dialog, media::kMsgTableUnusable);
    DisableAll(dialog);
    return false;
  }
  const int row = media::FindById(d.table, selectId);
  if (row >= 0) {
    d.filling = true;
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
    d.filling = false;
  }
  ShowRow(d, dialog, row);
  return true;
}

void OnInit(DialogCall& call) {
  MediaEditorData& d = Data(call);
  HWND dialog = call.dialog;
  HWND name = Item(dialog, IDC_MEDIA_EDITOR_NAME);
  SendMessageW(name, EM_LIMITTEXT, media::kNameChars, 0);
  SubclassNameEdit(name);

  HWND list = Item(dialog, IDC_MEDIA_EDITOR_LIST);
  ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                                      LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  RECT client{};
  GetClientRect(list, &client);
  std::wstring head = TextOf(kColumnText);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = head.data();
  // The whole width the list keeps beside its vertical scroll bar.
  column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
  ListView_InsertColumn(list, 0, &column);
  ListView_SetItemCount(list, kReservedItems);

  for (uint16_t text : media::kClassTexts) {
    const std::wstring item = TextOf(text);
    SendDlgItemMessageW(dialog, IDC_MEDIA_EDITOR_CLASS_LIST, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(item.c_str()));
  }
  for (const ValueRow& row : kRows) {
    SendDlgItemMessageW(dialog, row.edit, EM_LIMITTEXT, media::kValueChars, 0);
    SendDlgItemMessageW(dialog, row.updown, UDM_SETRANGE32, 0, media::kValueMax);
    SetScrollRange(Item(dialog, row.bar), SB_CTL, 0, int(media::kValueMax), FALSE);
  }
  d.jobMediaId = d.sheet->workSettings.MediaTypeId;
  d.printQuality = d.sheet->workSettings.dmPrintQuality;
  if (LoadList(d, dialog, d.jobMediaId)) SetFocus(list);
}

void OnValueEdit(MediaEditorData& d, HWND dialog, const ValueRow& row, UINT code) {
  HWND edit = Item(dialog, row.edit);
  wchar_t text[8] = {};
  GetWindowTextW(edit, text, int(std::size(text)));
  if (code == EN_KILLFOCUS) {
    if (!text[0]) WriteEditInteger(edit, 0);
    return;
  }
  if (code != EN_UPDATE || d.filling) return;
  bool capped = false;
  const uint32_t value = media::ParseValueText(U(text), &capped);
  // The rewrite comes back here as another EN_UPDATE, which stores it.
  if (capped) {
    WriteEditInteger(edit, int32_t(value));
    return;
  }
  d.values[row.field] = value;
  SetScrollPos(Item(dialog, row.bar), SB_CTL, int(value), TRUE);
}

void OnNameEdit(MediaEditorData& d, HWND dialog) {
  if (d.filling) return;
  const std::u16string text = NameField(dialog);
  const std::u16string clean = media::CleanNameText(text);
  if (clean == text) return;
  d.filling = true;
  SetDlgItemTextW(dialog, IDC_MEDIA_EDITOR_NAME, W(clean.c_str()));
  SendDlgItemMessageW(dialog, IDC_MEDIA_EDITOR_NAME, EM_SETSEL, clean.size(), clean.size());
  d.filling = false;
}

void Save(MediaEditorData& d, HWND dialog) {
  if (!d.usable) return;
  const std::u16string name = NameField(dialog);
  const media::SavePlan plan = media::PlanSave(d.table, name, d.classValue, d.values, d.printQuality);
  if (plan.step != media::SaveStep::kAskAdd && plan.step != media::SaveStep::kAskReplace) {
    if (plan.message) ShowMessageById(dialog, plan.message, W(name.c_str()));
    return;
  }
  if (ShowMessageById(dialog, plan.message, W(name.c_str())) != IDYES) return;
  const uint32_t id = plan.step == media::SaveStep::kAskAdd ? plan.newId
                                                           : d.table[size_t(plan.index)].mediaId;
  const auto store = OpenAdminStore(*d.sheet);
  if (!media::ApplySave(store.get(), &d.table, plan, name, d.classValue, d.values)) {
    ShowMessageById(dialog, media::kMsgTableUnusable);
  } else {
    d.changed = true;
  }
  // The saved record stays chosen, so that its values can be adjusted further.
  LoadList(d, dialog, id);
}

// Media ids the printer still needs: the job's, the printer default
// settings', and the driver default's (which repaired favourites take).
std::vector<uint32_t> MediaInUse(const MediaEditorData& d, PrinterStore* store,
                                 const JobSettings& defaults) {
  std::vector<uint32_t> ids = {d.jobMediaId, defaults.MediaTypeId};
  JobSettings printerDefault{};
  uint32_t needed = 0;
  if (GetPrinterDefaultSettings(store, &printerDefault, &needed))
    ids.push_back(printerDefault.MediaTypeId);
  return ids;
}

void Delete(MediaEditorData& d, HWND dialog) {
  if (!d.usable) return;
  Win32PrinterStore reader(d.sheet->dataPrinter(), false);
  JobSettings defaults{};
  SetDefaultJobSettings(&defaults, Services());
  auto favourites = std::make_unique<FavouriteSet>();
  const bool haveFavourites = ReadFavourites(&reader, favourites.get());
  const media::DeletePlan plan = media::PlanDelete(d.table, d.selected, MediaInUse(d, &reader, defaults),
                                                   haveFavourites ? favourites.get() : nullptr);
  if (plan.step == media::DeleteStep::kBuiltIn) return;
  if (plan.step == media::DeleteStep::kNoSelection || plan.step == media::DeleteStep::kInUse) {
    ShowMessageById(dialog, plan.message);
    return;
  }
  const std::u16string name = media::NameOf(d.table[size_t(d.selected)]);
  if (ShowMessageById(dialog, plan.message, W(name.c_str())) != IDYES) return;
  const auto store = OpenAdminStore(*d.sheet);
  if (media::ApplyDelete(store.get(), &d.table, d.selected, defaults.MediaTypeId,
                         defaults.MediaClass) != media::DeleteResult::kDeleted)
    ShowMessageById(dialog, media::kMsgWriteFailed);
  else
    d.changed = true;
  LoadList(d, dialog, d.jobMediaId);
}

void Close(DialogCall& call) {
  MediaEditorData& d = Data(call);
  if (d.usable) {
    media::Edits edits;
    edits.name = NameField(call.dialog);
    edits.selected = d.selected;
    edits.classValue = d.classValue;
    edits.values = d.values;
    if (media::EditsDiffer(d.table, edits, d.printQuality) &&
        ShowMessageById(call.dialog, media::kMsgAskDiscard) != IDYES)
      return;
  }
  FreeGradientBitmaps(d.gradient, std::size(d.gradient));
  call.End(0);
}

bool OnCommand(DialogCall& call, UINT id, UINT code) {
  MediaEditorData& d = Data(call);
  HWND dialog = call.dialog;
  for (const ValueRow& row : kRows)
    if (int(id) == row.edit) {
      OnValueEdit(d, dialog, row, code);
      return true;
    }
  switch (id) {
    case IDC_MEDIA_EDITOR_NAME:
      if (code == EN_UPDATE) OnNameEdit(d, dialog);
      return true;
    case IDC_MEDIA_EDITOR_CLASS_LIST: {
      if (code != CBN_SELCHANGE) return true;
      const LRESULT item = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
      if (item < 0 || item >= LRESULT(std::size(media::kClassValues))) return true;
      d.classValue = media::kClassValues[item];
      d.values = media::ClassDefaults(d.classValue, d.printQuality);
      ShowValues(d, dialog);
      return true;
    }
    case IDC_MEDIA_EDITOR_SAVE:
      if (code == BN_CLICKED) Save(d, dialog);
      return true;
    case IDC_MEDIA_EDITOR_DELETE:
      if (code == BN_CLICKED) Delete(d, dialog);
      return true;
    case IDC_MEDIA_EDITOR_CLOSE:
    case IDCANCEL:
      Close(call);
      return true;
    case IDC_MEDIA_EDITOR_HELP:
      ShowHelpTopic(dialog, d.sheet->dataPrinter(), help::kMediaEditorDialog);
      return true;
    case IDOK:
      return true;  // Enter in an edit closes nothing
    default:
      return false;
  }
}

LRESULT OnNotify(DialogCall& call, const NMHDR& header, bool* handled) {
  *handled = false;
  MediaEditorData& d = Data(call);
  if (header.idFrom != IDC_MEDIA_EDITOR_LIST || d.filling || !d.usable) return 0;
  if (header.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
        !(change.uOldState & LVIS_SELECTED))
      ShowRow(d, call.dialog, change.iItem);
  } else if (header.code == NM_CLICK) {
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    if (click.iItem >= 0 && size_t(click.iItem) < d.table.size()) ShowRow(d, call.dialog, click.iItem);
  }
  return 0;
}

bool OnScroll(DialogCall& call, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_HSCROLL || !lParam) return false;
  MediaEditorData& d = Data(call);
  HWND bar = reinterpret_cast<HWND>(lParam);
  const int id = GetDlgCtrlID(bar);
  for (const ValueRow& row : kRows) {
    if (row.bar != id) continue;
    const int value = colour::ScrollTarget(LOWORD(wParam), GetScrollPos(bar, SB_CTL),
                                           int(media::kValueMax), int16_t(HIWORD(wParam)));
    // The edit's update stores the value and moves the bar.
    if (uint32_t(value) != d.values[row.field]) WriteEditInteger(Item(call.dialog, row.edit), value);
    return true;
  }
  return false;
}

HBRUSH OnCtlColor(DialogCall& call, UINT message, HDC dc, HWND control) {
  if (message != WM_CTLCOLORSCROLLBAR) return nullptr;
  MediaEditorData& d = Data(call);
  const int id = GetDlgCtrlID(control);
  for (const ValueRow& row : kRows)
    if (row.bar == id) return PaintGradientBar(control, dc, kInkColours[row.ink], &d.gradient[row.ink]);
  return nullptr;
}

void OnDestroy(DialogCall& call) {
  MediaEditorData& d = Data(call);
  FreeGradientBitmaps(d.gradient, std::size(d.gradient));
}

const DialogRow kMediaEditorDialog = {
    IDD_MEDIA_EDITOR,
    &pages::kLayoutMedia_editor,
    pages::kTextsMedia_editor,
    pages::kHelpMedia_editor,
    kTitleText,
    help::kMediaEditorDialog,
    DialogHandlers{.init = OnInit,
                   .command = OnCommand,
                   .notify = OnNotify,
                   .other = OnScroll,
                   .destroy = OnDestroy,
                   .ctlColor = OnCtlColor},
};

}  // namespace

INT_PTR ShowMediaEditor(HWND owner, SheetContext& sheet) {
  MediaEditorData data;
  data.sheet = &sheet;
  RunModalDialog(owner, kMediaEditorDialog, &data);
  FreeGradientBitmaps(data.gradient, std::size(data.gradient));
  if (data.changed && !sheet.deviceSheet) {
    Win32PrinterStore own(sheet.hPrinterOwn.get() ? sheet.hPrinterOwn.get() : sheet.dataPrinter(),
                          false);
    std::vector<MediaData> media;
    if (media::LoadMediaTable(&own, &media) == media::TableStatus::kOk &&
        sheet.mediaTable.assign(media.data(), media.size()))
      sheet.mediaCount = DWORD(media.size());
  }
  return 0;
}

}  // namespace vq
