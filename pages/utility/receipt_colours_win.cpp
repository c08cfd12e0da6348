#include "pages/utility/receipt_colours_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/activation_win.h"
#include "pages/basic/settings_list_win.h"
#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "pages/utility/receipt_chart_win.h"
#include "pages/utility/receipt_colours.h"
#include "settings/printer_store_win.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

using namespace receipt;

constexpr uint32_t kPrintQuestion = 4032, kNotReady = 4021, kCloseQuestion = 4026,
                   kDeleteQuestion = 4028, kManyFiles = 4063, kBadFile = 4064,
                   kStartOverQuestion = 4105;
constexpr uint16_t kStepTexts[3] = {5394, 5395, 5396};
constexpr uint16_t kPlaneTexts[3] = {5398, 5399, 5400};
constexpr uint16_t kExportTitle = 5410, kImportTitle = 5411;
constexpr wchar_t kFileFilter[] = L"bin Files (*.bin)\0*.bin\0";
constexpr wchar_t kOldProc[] = L"VQ312.ReceiptOldProc";

struct SourceRow {
  int label, edit, updown, slider;
};
constexpr SourceRow kSourceRows[3] = {
    {IDC_RECEIPT_RED_LABEL, IDC_RECEIPT_RED_EDIT, IDC_RECEIPT_RED_UPDOWN, IDC_RECEIPT_RED_SLIDER},
    {IDC_RECEIPT_GREEN_LABEL, IDC_RECEIPT_GREEN_EDIT, IDC_RECEIPT_GREEN_UPDOWN,
     IDC_RECEIPT_GREEN_SLIDER},
    {IDC_RECEIPT_BLUE_LABEL, IDC_RECEIPT_BLUE_EDIT, IDC_RECEIPT_BLUE_UPDOWN,
     IDC_RECEIPT_BLUE_SLIDER},
};

// What a printed chart opens up: the fine chart and the registration.
constexpr int kChartStage[] = {
    IDC_RECEIPT_REGISTER,     IDC_RECEIPT_BEST_LABEL, IDC_RECEIPT_BEST_LIST,
    IDC_RECEIPT_MEMO_LABEL,   IDC_RECEIPT_MEMO,       IDC_RECEIPT_PRINT_FINE,
    IDC_RECEIPT_AROUND_LABEL, IDC_RECEIPT_AROUND_LIST, IDC_RECEIPT_PLANE_LABEL,
    IDC_RECEIPT_PLANE_LIST,   IDC_RECEIPT_START_OVER};
// What a printed chart locks: the colour and size it was printed for.
constexpr int kBaseStage[] = {IDC_RECEIPT_PRINT_BASE, IDC_RECEIPT_SIZE_LIST,
                              IDC_RECEIPT_SIZE_LABEL, IDC_RECEIPT_SIZE_NOTE};

struct ReceiptData {
  MaintenanceTarget target;
  Arrays arrays;
  std::vector<Row> rows;
  Rgb base;                   // the chart buffer
  ChartMode mode = ChartMode::kBase;
  std::vector<Patch> table;   // the last chart's patch colours
  int selected = -1;          // list row; -1 for none or several
};

ReceiptData& Data(const DialogCall& call) { return call.Get<ReceiptData>(); }
HWND Item(const DialogCall& call, int id) { return GetDlgItem(call.dialog, id); }

void EnableAll(const DialogCall& call, std::initializer_list<int> ids, bool on) {
  for (int id : ids) EnableWindow(Item(call, id), on);
}
template <size_t N>
void EnableAll(const DialogCall& call, const int (&ids)[N], bool on) {
  for (int id : ids) EnableWindow(Item(call, id), on);
}
void EnableSource(const DialogCall& call, bool on) {
  for (const SourceRow& r : kSourceRows) EnableAll(call, {r.label, r.edit, r.updown, r.slider}, on);
}

int Selection(const DialogCall& call, int id) {
  return int(SendDlgItemMessageW(call.dialog, id, CB_GETCURSEL, 0, 0));
}
void Select(const DialogCall& call, int id, int item) {
  SendDlgItemMessageW(call.dialog, id, CB_SETCURSEL, item, 0);
}
void AddItem(const DialogCall& call, int id, const wchar_t* text) {
  SendDlgItemMessageW(call.dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}
void AddTextItems(const DialogCall& call, int id, const uint16_t (&texts)[3]) {
  for (uint16_t t : texts) {
    wchar_t text[64] = {};
    LoadTextById(t, text, sizeof text - sizeof(wchar_t));
    AddItem(call, id, text);
  }
}
void FillNumbers(const DialogCall& call, int id, int count) {
  SendDlgItemMessageW(call.dialog, id, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) AddItem(call, id, std::to_wstring(i).c_str());
  Select(call, id, 0);
}
int PatchCount(const DialogCall& call) {
  return Selection(call, IDC_RECEIPT_SIZE_LIST) == 0 ? 7 : 25;
}

std::wstring ItemText(const DialogCall& call, int id, int chars) {
  std::wstring text(size_t(chars) + 1, L'\0');
  text.resize(size_t(GetDlgItemTextW(call.dialog, id, text.data(), chars + 1)));
  return text;
}

// Every source edit clamped to 0..255 (written back when it changed) and
// the colour they hold.
Rgb ClampSource(const DialogCall& call) {
  int v[3];
  for (int i = 0; i < 3; ++i) {
    const std::wstring text = ItemText(call, kSourceRows[i].edit, 8);
    v[i] = SourceValue(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
    // An empty edit stays empty while the user types; it shows 0 when left.
    if (!text.empty() && text != std::to_wstring(v[i]))
      SetDlgItemTextW(call.dialog, kSourceRows[i].edit, std::to_wstring(v[i]).c_str());
  }
  return {uint8_t(v[0]), uint8_t(v[1]), uint8_t(v[2])};
}

// ---- Subclasses ------------------------------------------------------------------

LRESULT CallOld(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  const auto old = reinterpret_cast<WNDPROC>(GetPropW(w, kOldProc));
  if (m == WM_NCDESTROY) RemovePropW(w, kOldProc);
  return old ? CallWindowProcW(old, w, m, wp, lp) : DefWindowProcW(w, m, wp, lp);
}

// Digits and backspace only; left empty, the edit shows 0.
LRESULT CALLBACK SourceEditProc(HWND edit, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CHAR && !(wp >= L'0' && wp <= L'9') && wp != VK_BACK) return 0;
  if (m == WM_KILLFOCUS && GetWindowTextLengthW(edit) == 0) SetWindowTextW(edit, L"0");
  return CallOld(edit, m, wp, lp);
}

// A group box is the drop target, but the dialog does the import.
LRESULT CALLBACK DropGroupProc(HWND group, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DROPFILES) return SendMessageW(GetParent(group), m, wp, lp);
  return CallOld(group, m, wp, lp);
}

void Subclass(HWND w, WNDPROC proc) {
  if (!w) return;
  SetPropW(w, kOldProc, reinterpret_cast<HANDLE>(
                            SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc))));
}

// ---- The list ---------------------------------------------------------------------

void ShowPrintSwatch(const DialogCall& call) {
  InvalidateRect(Item(call, IDC_RECEIPT_PRINT_SWATCH), nullptr, FALSE);
}

void FillList(DialogCall& call) {
  ReceiptData& d = Data(call);
  Win32PrinterStore own(d.target.printerOwn, false);
  d.arrays = ReadArrays(&own);
  d.rows = ListRows(d.arrays);
  HWND list = Item(call, IDC_RECEIPT_LIST);
  ListView_DeleteAllItems(list);
  for (size_t i = 0; i < d.rows.size(); ++i) {
    const Row& row = d.rows[i];
    std::wstring number = std::to_wstring(i + 1);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = int(i);
    item.pszText = number.data();
    ListView_InsertItem(list, &item);
    const std::u16string texts[3] = {ColourText(row.source), ColourText(row.print), row.memo};
    for (int c = 0; c < 3; ++c) {
      std::wstring t(texts[c].begin(), texts[c].end());
      ListView_SetItemText(list, int(i), c + 1, t.data());
    }
  }
  d.selected = -1;
  EnableWindow(Item(call, IDC_RECEIPT_EXPORT), !d.rows.empty());
  ShowPrintSwatch(call);
}

void SetUpList(const DialogCall& call) {
  HWND list = Item(call, IDC_RECEIPT_LIST);
  // Several rows may be deleted at once.
  SetWindowLongPtrW(list, GWL_STYLE, GetWindowLongPtrW(list, GWL_STYLE) & ~LVS_SINGLESEL);
  ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                                      LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  struct Column {
    uint16_t text;
    int width;
  };
  const Column columns[4] = {{0, 35}, {5404, 100}, {5406, 100}, {5405, 100}};
  for (int i = 0; i < 4; ++i) {
    wchar_t text[64] = L"No.";
    if (columns[i].text) LoadTextById(columns[i].text, text, sizeof text - sizeof(wchar_t));
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text;
    column.cx = MulDiv(columns[i].width, int(screenDpiX), 96);
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
}

void OnListSelection(DialogCall& call) {
  ReceiptData& d = Data(call);
  HWND list = Item(call, IDC_RECEIPT_LIST);
  d.selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  const bool any = d.selected >= 0;
  EnableAll(call, {IDC_RECEIPT_DELETE, IDC_RECEIPT_SETTINGS}, any);
  if (ListView_GetSelectedCount(list) > 1) {
    EnableWindow(Item(call, IDC_RECEIPT_SETTINGS), FALSE);
    d.selected = -1;
  }
  ShowPrintSwatch(call);
}

// ---- Stages -------------------------------------------------------------------------

// The state the dialog opens in: a colour to choose and a chart to print.
void ResetStages(DialogCall& call) {
  EnableAll(call, kChartStage, false);
  EnableAll(call, {IDC_RECEIPT_DELETE, IDC_RECEIPT_SETTINGS}, false);
  EnableAll(call, kBaseStage, true);
  EnableSource(call, true);
  EnableWindow(Item(call, IDC_RECEIPT_EXPORT), !Data(call).rows.empty());
  HWND red = Item(call, IDC_RECEIPT_RED_EDIT);
  SetFocus(red);
  SendMessageW(red, EM_SETSEL, 0, -1);
}

ChartRequest Request(const DialogCall& call) {
  const ReceiptData& d = Data(call);
  ChartRequest r;
  r.base = d.base;
  r.mode = d.mode;
  r.count = PatchCount(call);
  r.stepItem = Selection(call, IDC_RECEIPT_STEP_LIST);
  r.sizeItem = Selection(call, IDC_RECEIPT_SIZE_LIST);
  r.planeItem = Selection(call, IDC_RECEIPT_PLANE_LIST);
  return r;
}

// The user's yes, and a printer ready for the chart (a file port needs no
// waiting).
bool ReadyToPrint(const DialogCall& call) {
  if (ShowMessageById(call.dialog, kPrintQuestion) != IDYES) return false;
  const MaintenanceTarget& t = Data(call).target;
  if (!IsFilePort(t.printer) && RunWaitDialog(call.dialog, t, WaitKind::kStopOrWait) != 1) {
    ShowMessageById(call.dialog, kNotReady);
    return false;
  }
  return true;
}

void PrintBaseChart(DialogCall& call) {
  if (!ReadyToPrint(call)) return;
  ReceiptData& d = Data(call);
  d.mode = ChartMode::kBase;
  d.base = ClampSource(call);
  if (!PrintReceiptChart(call.dialog, d.target.printerName, Request(call), &d.table)) return;
  EnableAll(call, kBaseStage, false);
  EnableSource(call, false);
  EnableAll(call, kChartStage, true);
  SetFocus(Item(call, IDC_RECEIPT_PRINT_FINE));
}

void PrintFineChart(DialogCall& call) {
  if (!ReadyToPrint(call)) return;
  ReceiptData& d = Data(call);
  d.mode = ChartMode::kVariation;
  FindPatch(d.table, Selection(call, IDC_RECEIPT_AROUND_LIST), &d.base);
  PrintReceiptChart(call.dialog, d.target.printerName, Request(call), &d.table);
}

std::unique_ptr<PrinterStore> AdminStore(const ReceiptData& d) {
  constexpr uint32_t kPrinterAccessAdminister = 0x4;
  Win32Spooler spooler;
  return spooler.Open(reinterpret_cast<const char16_t*>(d.target.printerName),
                      kPrinterAccessAdminister);
}

// Writes the arrays; the list shows what is stored only when all three
// values were written.
void Store(DialogCall& call, const Arrays& arrays) {
  const auto store = AdminStore(Data(call));
  if (store && WriteArrays(store.get(), arrays) == 3) FillList(call);
}

void RegisterPair(DialogCall& call) {
  ReceiptData& d = Data(call);
  const Rgb source = ClampSource(call);
  Rgb print = source;
  FindPatch(d.table, Selection(call, IDC_RECEIPT_BEST_LIST), &print);
  const std::wstring memo = ItemText(call, IDC_RECEIPT_MEMO, int(kMemoChars));
  Arrays arrays = d.arrays;
  const JobSettings settings = d.target.settings ? *d.target.settings : JobSettings{};
  Register(&arrays, source, print, std::u16string(memo.begin(), memo.end()),
           std::span<const uint8_t, kSettingsSize>(reinterpret_cast<const uint8_t*>(&settings),
                                                   kSettingsSize));
  Store(call, arrays);
  ResetStages(call);
}

void StartOver(DialogCall& call) {
  if (ShowMessageById(call.dialog, kStartOverQuestion) != IDYES) return;
  ReceiptData& d = Data(call);
  d.base = {};
  d.mode = ChartMode::kBase;
  d.table.clear();
  Select(call, IDC_RECEIPT_AROUND_LIST, 0);
  Select(call, IDC_RECEIPT_PLANE_LIST, 0);
  ResetStages(call);
}

void ShowStoredSettings(DialogCall& call) {
  const ReceiptData& d = Data(call);
  if (d.rows.empty() || d.selected < 0 || size_t(d.selected) >= d.rows.size()) return;
  JobSettings js{};
  if (!StoredSettings(d.arrays, d.rows[size_t(d.selected)].index, &js)) return;
  Win32PrinterStore own(d.target.printerOwn, false);
  ShowSettingsSummary(call.dialog, js, GetPrinterDword(&own, pd::kScaling) != 0,
                      d.target.printerOwn);
}

void DeleteSelected(DialogCall& call) {
  if (ShowMessageById(call.dialog, kDeleteQuestion) != IDYES) return;
  ReceiptData& d = Data(call);
  if (d.rows.empty()) return;
  HWND list = Item(call, IDC_RECEIPT_LIST);
  std::vector<size_t> indices;
  for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0 && size_t(i) < d.rows.size();
       i = ListView_GetNextItem(list, i, LVNI_SELECTED))
    indices.push_back(d.rows[size_t(i)].index);
  Arrays arrays = d.arrays;
  Delete(&arrays, indices);
  Store(call, arrays);
  EnableAll(call, {IDC_RECEIPT_DELETE, IDC_RECEIPT_SETTINGS}, false);
  d.selected = -1;
  EnableWindow(Item(call, IDC_RECEIPT_EXPORT), !d.rows.empty());
  ShowPrintSwatch(call);
}

bool ChooseFile(const DialogCall& call, bool save, std::wstring* path) {
  wchar_t file[MAX_PATH] = L"";
  if (save) std::wcscpy(file, L"ReceiptColor");
  wchar_t title[128] = {};
  LoadTextById(save ? kExportTitle : kImportTitle, title, sizeof title - sizeof(wchar_t));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = call.dialog;
  ofn.lpstrFilter = kFileFilter;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = L"bin";
  ofn.lpstrTitle = title;
  ofn.Flags = save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY
                   : OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!(save ? IsolatedGetSaveFileNameW(&ofn) : IsolatedGetOpenFileNameW(&ofn))) return false;
  *path = file;
  return true;
}

void ExportPairs(DialogCall& call) {
  std::wstring path;
  if (!ChooseFile(call, true, &path)) return;
  WriteReceiptFile(path, Data(call).arrays);
}

void ImportPath(DialogCall& call, const std::wstring& path) {
  std::vector<uint8_t> bytes;
  if (!ReadReceiptFile(path, &bytes) || CheckFile(bytes) != FileCheck::kOk) {
    ShowMessageById(call.dialog, kBadFile);
    return;
  }
  Arrays arrays = Data(call).arrays;
  if (Import(&arrays, bytes) > 0) Store(call, arrays);
}

void ImportPairs(DialogCall& call) {
  std::wstring path;
  if (ChooseFile(call, false, &path)) ImportPath(call, path);
}

void OnDrop(DialogCall& call, HDROP drop) {
  const UINT files = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::wstring path;
  if (files == 1) {
    path.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
    path.resize(DragQueryFileW(drop, 0, path.data(), UINT(path.size())));
  }
  DragFinish(drop);
  if (files >= 2) ShowMessageById(call.dialog, kManyFiles);
  else if (files == 1) ImportPath(call, path);
}

// ---- Handlers ---------------------------------------------------------------------

void CentreOnDesktop(HWND dialog) {
  RECT r{}, desk{};
  GetWindowRect(dialog, &r);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &desk, 0);
  SetWindowPos(dialog, nullptr, desk.left + ((desk.right - desk.left) - (r.right - r.left)) / 2,
               desk.top + ((desk.bottom - desk.top) - (r.bottom - r.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
}

void OnInit(DialogCall& call) {
  for (const SourceRow& r : kSourceRows) {
    SetDlgItemTextW(call.dialog, r.edit, L"0");
    SendDlgItemMessageW(call.dialog, r.slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 255));
    SendDlgItemMessageW(call.dialog, r.updown, UDM_SETRANGE32, 0, 255);
    Subclass(Item(call, r.edit), SourceEditProc);
  }
  SendDlgItemMessageW(call.dialog, IDC_RECEIPT_MEMO, EM_LIMITTEXT, kMemoTypedChars, 0);
  SendDlgItemMessageW(call.dialog, IDC_RECEIPT_COUNT, EM_SETREADONLY, TRUE, 0);
  AddItem(call, IDC_RECEIPT_SIZE_LIST, L"1");
  AddItem(call, IDC_RECEIPT_SIZE_LIST, L"2");
  Select(call, IDC_RECEIPT_SIZE_LIST, 1);
  AddTextItems(call, IDC_RECEIPT_STEP_LIST, kStepTexts);
  Select(call, IDC_RECEIPT_STEP_LIST, 1);
  SetDlgItemTextW(call.dialog, IDC_RECEIPT_COUNT, L"25");
  FillNumbers(call, IDC_RECEIPT_AROUND_LIST, 25);
  FillNumbers(call, IDC_RECEIPT_BEST_LIST, 25);
  AddTextItems(call, IDC_RECEIPT_PLANE_LIST, kPlaneTexts);
  Select(call, IDC_RECEIPT_PLANE_LIST, 0);
  EnableAll(call, kChartStage, false);
  EnableAll(call, {IDC_RECEIPT_DELETE, IDC_RECEIPT_SETTINGS}, false);
  CentreOnDesktop(call.dialog);
  HWND group = Item(call, IDC_RECEIPT_LIST_GROUP);
  Subclass(group, DropGroupProc);
  DragAcceptFiles(group, TRUE);
  SetUpList(call);
  FillList(call);
  if (!Data(call).rows.empty()) {
    HWND list = Item(call, IDC_RECEIPT_LIST);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    OnListSelection(call);
  }
}

bool OnCommand(DialogCall& call, UINT id, UINT code) {
  for (const SourceRow& r : kSourceRows) {
    if (int(id) != r.edit) continue;
    if (code == EN_CHANGE) {
      const Rgb c = ClampSource(call);
      const uint8_t v[3] = {c.r, c.g, c.b};
      for (int i = 0; i < 3; ++i)
        SendDlgItemMessageW(call.dialog, kSourceRows[i].slider, TBM_SETPOS, TRUE, v[i]);
      InvalidateRect(Item(call, IDC_RECEIPT_SOURCE_SWATCH), nullptr, FALSE);
    }
    return true;
  }
  if (id == IDC_RECEIPT_SIZE_LIST) {
    if (code == CBN_SELCHANGE) {
      const int count = PatchCount(call);
      SetDlgItemTextW(call.dialog, IDC_RECEIPT_COUNT, std::to_wstring(count).c_str());
      FillNumbers(call, IDC_RECEIPT_AROUND_LIST, count);
      FillNumbers(call, IDC_RECEIPT_BEST_LIST, count);
    }
    return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_RECEIPT_PRINT_BASE: PrintBaseChart(call); return true;
    case IDC_RECEIPT_PRINT_FINE: PrintFineChart(call); return true;
    case IDC_RECEIPT_START_OVER: StartOver(call); return true;
    case IDC_RECEIPT_REGISTER: RegisterPair(call); return true;
    case IDC_RECEIPT_SETTINGS: ShowStoredSettings(call); return true;
    case IDC_RECEIPT_DELETE: DeleteSelected(call); return true;
    case IDC_RECEIPT_IMPORT: ImportPairs(call); return true;
    case IDC_RECEIPT_EXPORT: ExportPairs(call); return true;
    case IDC_RECEIPT_HELP_BUTTON:
      ShowHelpTopic(call.dialog, Data(call).target.printerOwn, help::kReceiptColourDialog);
      return true;
    case IDOK:
      return true;  // Enter in an edit does not close the dialog
    case IDC_RECEIPT_CLOSE:
    case IDCANCEL:
      if (ShowMessageById(call.dialog, kCloseQuestion) == IDYES) call.End(id);
      return true;
    default:
      return false;
  }
}

LRESULT OnNotify(DialogCall& call, const NMHDR& n, bool* handled) {
  if (n.idFrom != IDC_RECEIPT_LIST) return 0;
  if (n.code == NM_CLICK ||
      (n.code == LVN_ITEMCHANGED &&
       (reinterpret_cast<const NMLISTVIEW&>(n).uChanged & LVIF_STATE)))
    OnListSelection(call);
  *handled = false;
  return 0;
}

bool OnDrawItem(DialogCall& call, const DRAWITEMSTRUCT& dis) {
  const ReceiptData& d = Data(call);
  COLORREF colour;
  if (dis.CtlID == IDC_RECEIPT_SOURCE_SWATCH) {
    const Rgb c = ClampSource(call);
    colour = RGB(c.r, c.g, c.b);
  } else if (dis.CtlID == IDC_RECEIPT_PRINT_SWATCH) {
    const bool shown = d.selected >= 0 && size_t(d.selected) < d.rows.size();
    const Rgb c = shown ? d.rows[size_t(d.selected)].print : Rgb{};
    colour = shown ? RGB(c.r, c.g, c.b) : GetSysColor(COLOR_BTNFACE);
  } else {
    return false;
  }
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dis.hDC, &dis.rcItem, brush);
  DeleteObject(brush);
  FrameRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_BTNSHADOW));
  return true;
}

bool OnOther(DialogCall& call, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HSCROLL: {
      for (int i = 0; i < 3; ++i) {
        if (reinterpret_cast<HWND>(lParam) != Item(call, kSourceRows[i].slider)) continue;
        for (const SourceRow& r : kSourceRows) {
          const int pos = int(SendDlgItemMessageW(call.dialog, r.slider, TBM_GETPOS, 0, 0));
          if (ItemText(call, r.edit, 8) != std::to_wstring(pos))
            SetDlgItemTextW(call.dialog, r.edit, std::to_wstring(pos).c_str());
        }
        return true;
      }
      return false;  // the up-downs move their buddies themselves
    }
    case WM_DROPFILES:
      OnDrop(call, reinterpret_cast<HDROP>(wParam));
      return true;
    case WM_PAINT:
      ClampSource(call);
      InvalidateRect(Item(call, IDC_RECEIPT_SOURCE_SWATCH), nullptr, FALSE);
      return false;
    default:
      return false;
  }
}

const DialogRow kReceiptDialog = {
    IDD_RECEIPT,
    &pages::kLayoutReceipt,
    pages::kTextsReceipt,
    pages::kHelpReceipt,
    4755,
    help::kReceiptColourDialog,
    DialogHandlers{OnInit, OnCommand, OnNotify, OnDrawItem, nullptr, OnOther, nullptr, nullptr},
};

}  // namespace

bool ReadReceiptFile(const std::wstring& path, std::vector<uint8_t>* bytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(h, &size) && CheckFileSize(uint64_t(size.QuadPart)) == FileCheck::kOk;
  if (ok) {
    bytes->resize(size_t(size.QuadPart));
    DWORD got = 0;
    ok = ReadFile(h, bytes->data(), DWORD(bytes->size()), &got, nullptr) && got == bytes->size();
  }
  CloseHandle(h);
  return ok;
}

bool WriteReceiptFile(const std::wstring& path, const Arrays& arrays) {
  const std::vector<uint8_t> file = ExportFile(arrays);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(h, file.data(), DWORD(file.size()), &written, nullptr) &&
                  written == file.size();
  CloseHandle(h);
  if (!ok) DeleteFileW(path.c_str());
  return ok;
}

INT_PTR ShowReceiptColourDialog(HWND owner, const MaintenanceTarget& t) {
  ReceiptData data;
  data.target = t;
  return RunModalDialog(owner, kReceiptDialog, &data);
}

}  // namespace vq
