#include "pages/basic/settings_list_win.h"

#include <commctrl.h>
#include <winspool.h>

#include <vector>

#include "base/handles_win.h"
#include "base/sibling_win.h"
#include "base/text_win.h"
#include "devinfo/difm_loader_win.h"
#include "monitor/status_monitor_win.h"
#include "pages/basic/settings_summary.h"
#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "settings/printer_store_win.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/messages_win.h"
#include "uicore/sheet_context_win.h"
#include "uicore/texts_win.h"

namespace vq {

namespace {

constexpr int kLabelColumnWidth = 95;
constexpr int kValueColumnMargin = 97;

std::u16string TextWith(DifmHandle h, uint32_t id) {
  wchar_t buffer[1024] = {};
  if (!LoadTextWithHandle(h, id, buffer, sizeof buffer - sizeof(wchar_t))) return {};
  return Text(buffer);
}

// Names of a colour list of the device module (64-byte entries, name first).
std::vector<std::u16string> NameList(int32_t (*fn)(DifmHandle, void*), DifmHandle h) {
  std::vector<std::u16string> names;
  if (!fn || !h) return names;
  const int32_t count = fn(h, nullptr);
  if (count <= 0 || count > 64) return names;
  std::vector<char16_t> entries(size_t(count) * kDifmNameEntrySize / sizeof(char16_t));
  fn(h, entries.data());
  constexpr size_t kUnits = kDifmNameEntrySize / sizeof(char16_t);
  for (int32_t i = 0; i < count; ++i) {
    const char16_t* name = entries.data() + size_t(i) * kUnits;
    size_t n = 0;
    while (n < kUnits && name[n]) ++n;
    names.emplace_back(name, n);
  }
  return names;
}

std::vector<SummaryRow> RowsFor(const JobSettings& js, bool withScaling, DifmHandle texts,
                                HANDLE printer) {
  SummarySources sources;
  std::vector<MediaData> media;
  if (const SheetContext* sheet = CurrentSheet(); sheet && sheet->mediaTable) {
    sources.media = {sheet->mediaTable.get(), sheet->mediaTable.size()};
  } else if (printer) {
    Win32PrinterStore store(printer, false);
    ReadMediaTable(&store, &media);
    sources.media = media;
  }
  const DifmApi& api = DeviceInfoApi();
  sources.colourModes = NameList(api.DifmGetColorMophingInf, texts);
  sources.gammas = NameList(api.DifmGetGammaInf, texts);
  return BuildSummaryRows(js, sources, withScaling);
}

int ImageOf(uint16_t icon) {
  for (size_t i = 0; i < std::size(kSettingsListIcons); ++i)
    if (kSettingsListIcons[i] == icon) return int(i);
  return I_IMAGENONE;
}

void SetupList(HWND list, DifmHandle texts) {
  ListView_DeleteAllItems(list);
  while (ListView_DeleteColumn(list, 0)) {
  }
  // LVSIL_SMALL: the list view destroys it with itself (no LVS_SHAREIMAGELISTS).
  if (HIMAGELIST old = ListView_SetImageList(list, LoadIconImageList(kSettingsListIcons), LVSIL_SMALL)) ImageList_Destroy(old);
  ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                                      LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  RECT client{};
  GetClientRect(list, &client);
  const std::u16string heads[2] = {TextWith(texts, 5049), TextWith(texts, 5050)};
  // The rows always outgrow the list: the value column leaves room for the
  // vertical scroll bar, so no horizontal one appears.
  const int widths[2] = {MulDiv(kLabelColumnWidth, int(screenDpiX), 96),
                         client.right - MulDiv(kValueColumnMargin, int(screenDpiX), 96) -
                             GetSystemMetrics(SM_CXVSCROLL)};
  for (int i = 0; i < 2; ++i) {
    std::wstring head(heads[i].begin(), heads[i].end());
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = head.data();
    column.cx = widths[i];
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
}

}  // namespace

HIMAGELIST LoadIconImageList(std::span<const uint16_t> ids) {
  const int cx = MulDiv(16, int(screenDpiX), 96), cy = MulDiv(16, int(screenDpiY), 96);
  HIMAGELIST images = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, int(ids.size()), 0);
  if (!images) return nullptr;
  const SheetContext* sheet = CurrentSheet();
  UniqueModule own;
  HMODULE module = sheet ? sheet->hIconModule.get() : nullptr;
  if (!module) {
    own.reset(LoadSiblingModule(L"VQ312RD.dll"));
    module = own.get();
  }
  for (uint16_t id : ids) {
    UniqueIcon icon(module ? static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                           cx, cy, LR_DEFAULTCOLOR))
                           : nullptr);
    // A missing icon keeps its place (an empty image), so the image numbers
    // of the ones after it still hold.
    if (!icon || ImageList_AddIcon(images, icon.get()) < 0) {
      const std::vector<BYTE> andMask(size_t(cx + 15) / 16 * 2 * size_t(cy), 0xFF);
      const std::vector<BYTE> xorMask(andMask.size(), 0);
      UniqueIcon blank(CreateIcon(nullptr, cx, cy, 1, 1, andMask.data(), xorMask.data()));
      ImageList_AddIcon(images, blank.get());
    }
  }
  return images;
}

void FillSettingsList(HWND list, const JobSettings& js, bool withScaling, bool first,
                      DifmHandle texts, HANDLE printer) {
  if (!list) return;
  if (first) SetupList(list, texts);
  const std::vector<SummaryRow> rows = RowsFor(js, withScaling, texts, printer);
  const TextLookup textOf = [texts](uint32_t id) { return TextWith(texts, id); };
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    std::wstring label(W(textOf(rows[i].label).c_str()));
    std::wstring value(W(FormatSummaryValue(rows[i].value, false, textOf).c_str()));
    if (first || int(i) >= ListView_GetItemCount(list)) {
      LVITEMW item{};
      item.mask = LVIF_TEXT | LVIF_IMAGE;
      item.iItem = int(i);
      item.pszText = label.data();
      item.iImage = rows[i].icon ? ImageOf(rows[i].icon) : I_IMAGENONE;
      ListView_InsertItem(list, &item);
    } else {
      ListView_SetItemText(list, int(i), 0, label.data());
    }
    ListView_SetItemText(list, int(i), 1, value.data());
  }
  while (ListView_GetItemCount(list) > int(rows.size())) ListView_DeleteItem(list, int(rows.size()));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

std::wstring SettingsText(const JobSettings& js, bool withScaling, DifmHandle texts, HANDLE printer) {
  std::u16string driver = u" ", name = u" ";
  if (printer) {
    const std::vector<unsigned char> info = GetPrinterInfo(printer, 2);
    if (info.size() >= sizeof(PRINTER_INFO_2W)) {
      const auto* p2 = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
      if (p2->pDriverName) driver = Text(p2->pDriverName);
      if (p2->pPrinterName) name = Text(p2->pPrinterName);
    }
  }
  const TextLookup textOf = [texts](uint32_t id) { return TextWith(texts, id); };
  const std::u16string text = SummaryText(RowsFor(js, withScaling, texts, printer), textOf, driver, name);
  return std::wstring(text.begin(), text.end());
}

void BuildSettingsText(const JobSettings& js, bool withScaling, DifmHandle texts, HANDLE printer,
                       HWND owner, bool open) {
  const std::string ansi = Ansi(SettingsText(js, withScaling, texts, printer).c_str());
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, ansi.size() + 1);
  if (!memory) return;
  if (void* p = GlobalLock(memory)) {
    memcpy(p, ansi.c_str(), ansi.size() + 1);
    GlobalUnlock(memory);
  }
  if (open && !OpenClipboard(owner)) {
    GlobalFree(memory);
    return;
  }
  if (open) EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  if (open) CloseClipboard();
}

// ---- Settings summary dialog (template 396) -------------------------------

namespace {

struct SummaryData {
  const JobSettings* settings;
  bool withScaling;
  HANDLE printer;
};

void SummaryInit(DialogCall& call) {
  const SummaryData& d = call.Get<SummaryData>();
  HWND list = GetDlgItem(call.dialog, IDC_SUMMARY_LIST);
  FillSettingsList(list, *d.settings, d.withScaling, true, CurrentTextHandle(), d.printer);
  ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetFocus(list);
}

bool SummaryCommand(DialogCall& call, UINT id, UINT) {
  switch (id) {
    case IDC_SUMMARY_COPY:
      // Delayed rendering: the text is built when someone asks for it.
      if (OpenClipboard(call.dialog)) {
        EmptyClipboard();
        SetClipboardData(CF_TEXT, nullptr);
        CloseClipboard();
      }
      return true;
    case IDOK:
    case IDCANCEL:
      call.End(0);
      return true;
    default:
      return false;
  }
}

bool SummaryOther(DialogCall& call, UINT message, WPARAM wParam, LPARAM) {
  const SummaryData& d = call.Get<SummaryData>();
  switch (message) {
    case WM_RENDERFORMAT:
      if (wParam == CF_TEXT)
        BuildSettingsText(*d.settings, d.withScaling, CurrentTextHandle(), d.printer, call.dialog, false);
      return true;
    case WM_RENDERALLFORMATS:
      BuildSettingsText(*d.settings, d.withScaling, CurrentTextHandle(), d.printer, call.dialog, true);
      return true;
    default:
      return false;
  }
}

const DialogRow kSummaryDialog = {
    IDD_SUMMARY, &pages::kLayoutSummary, pages::kTextsSummary, nullptr, 4360, nullptr,
    {.init = SummaryInit, .command = SummaryCommand, .other = SummaryOther}};

// ---- Version dialog (template 126) ------------------------------------------

struct VersionData {
  HANDLE printer;
};

void VersionInit(DialogCall& call) {
  const std::u16string block = VersionBlock(u"\n");
  SetDlgItemTextW(call.dialog, IDC_VERSION_VERSION_BLOCK, W(block.c_str()));
  SetDlgItemTextW(call.dialog, IDC_VERSION_SERIAL, L"");
  SetDlgItemTextW(call.dialog, IDC_VERSION_FIRMWARE, L"");
}

// ReadPrinterIdentity's results and the message each one gets; a read
// identity shows none.
uint32_t IdentityMessage(int result) {
  switch (result) {
    case kIdentityError: return 4078;
    case kIdentityPortFailed: return 4079;
    case kIdentityNotNow: return 4084;
    case -1: return 4081;
    default: return 0;
  }
}

bool VersionCommand(DialogCall& call, UINT id, UINT) {
  switch (id) {
    case IDC_VERSION_READ: {
      HWND button = GetDlgItem(call.dialog, IDC_VERSION_READ);
      EnableWindow(button, FALSE);
      const int result = ReadPrinterIdentity(call.dialog, call.Get<VersionData>().printer);
      if (const uint32_t message = IdentityMessage(result)) ShowMessageById(call.dialog, message);
      EnableWindow(button, TRUE);
      SetFocus(button);
      return true;
    }
    case IDOK:
    case IDCANCEL:
      call.End(0);
      return true;
    default:
      return false;
  }
}

const DialogRow kVersionDialog = {IDD_VERSION, &pages::kLayoutVersion, pages::kTextsVersion,
                                  nullptr, 4749, nullptr,
                                  {.init = VersionInit, .command = VersionCommand}};

}  // namespace

INT_PTR ShowSettingsSummary(HWND owner, const JobSettings& js, bool withScaling, HANDLE printer) {
  SummaryData data{&js, withScaling, printer};
  return RunModalDialog(owner, kSummaryDialog, &data);
}

INT_PTR ShowVersionDialog(HWND owner, HANDLE printer) {
  VersionData data{printer};
  return RunModalDialog(owner, kVersionDialog, &data);
}

}  // namespace vq
