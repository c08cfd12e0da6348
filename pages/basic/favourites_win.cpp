#include "pages/basic/favourites_win.h"

#include <commctrl.h>

#include <memory>
#include <span>
#include <string>

#include "base/text_win.h"
#include "pages/basic/settings_list_win.h"
#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/shared_controls_win.h"
#include "uicore/texts_win.h"

namespace vq {

namespace {

constexpr uint32_t kCurrentSettingsText = 4760;
constexpr uint32_t kDefaultSettingsText = 4759;
constexpr uint32_t kNarrowCurrentText = 5387;
constexpr uint32_t kNarrowFavouriteText = 5388;
constexpr uint32_t kNarrowCaptionText = 5389;
constexpr int kSettingsNameControl = 1104;

// The page's list: 291 current, 296 defaults, 298 for each of the ten
// entries, 299 for an entry that cannot be used (narrow margins).
constexpr uint16_t kPageListIcons[] = {291, 296, 298, 298, 298, 298, 298,
                                       298, 298, 298, 298, 298, 299};
constexpr int kPageNarrowImage = 12;
// The dialog's list: the same four pictures.
constexpr uint16_t kDialogListIcons[] = {291, 296, 298, 299};

std::u16string TextOf(uint32_t id) {
  wchar_t buffer[256] = {};
  LoadTextById(uint16_t(id), buffer, sizeof buffer - sizeof(wchar_t));
  return Text(buffer);
}

void ShowTextBox(HWND owner, uint32_t text, uint32_t caption) {
  const std::u16string body = TextOf(text), title = TextOf(caption);
  MessageBoxW(owner, W(body.c_str()), W(title.c_str()), MB_OK | MB_ICONEXCLAMATION);
}

std::span<const PaperInfo> Papers(const SheetContext& sheet) {
  return {sheet.paperTable.get(), sheet.paperTable.size()};
}

bool WorkPaperIsNarrow(const SheetContext& sheet) {
  const uint32_t id = static_cast<uint16_t>(sheet.workSettings.dmPaperSize);
  for (const PaperInfo& p : Papers(sheet))
    if (p.paperId == id) return PaperHasNarrowMargin(p);
  return PaperHasNarrowMargin(sheet.workSettings.Paper);
}

void SetWorkName(SheetContext& sheet, uint32_t id, uint32_t text) {
  SetSettingsName(&sheet.workSettings, TextOf(text));
  sheet.workSettings.SettingsNameId = id;
}

// The combo box keeps no image list of its own: it goes with the window.
LRESULT CALLBACK ComboImagesProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR images) {
  if (message == WM_NCDESTROY) {
    ImageList_Destroy(reinterpret_cast<HIMAGELIST>(images));
    RemoveWindowSubclass(combo, ComboImagesProc, id);
  }
  return DefSubclassProc(combo, message, wParam, lParam);
}

}  // namespace

bool ReadPageFavourites(const SheetContext& sheet, FavouriteSet* set) {
  Win32PrinterStore store(sheet.dataPrinter(), false);
  return ReadFavourites(&store, set);
}

void FillFavouritesList(HWND page, const SheetContext& sheet, const FavouriteSet& set,
                        bool narrowMarginAllowed, bool first) {
  HWND combo = GetDlgItem(page, kFavouritesListControl);
  if (!combo) return;
  if (first) {
    HIMAGELIST images = LoadIconImageList(kPageListIcons);
    // A second first fill replaces the list (the subclass then owns the new one).
    if (auto old = reinterpret_cast<HIMAGELIST>(
            SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images))))
      ImageList_Destroy(old);
    if (images) SetWindowSubclass(combo, ComboImagesProc, 1, reinterpret_cast<DWORD_PTR>(images));
    else RemoveWindowSubclass(combo, ComboImagesProc, 1);
  }
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  const std::u16string current = TextOf(kCurrentSettingsText), defaults = TextOf(kDefaultSettingsText);
  for (uint32_t index = 0; index < kFixedFavouriteItems + set.count; ++index) {
    std::u16string text = FavouriteItemText(set, index, current, defaults);
    int image = int(index);
    if (index >= kFixedFavouriteItems && !narrowMarginAllowed &&
        FavouriteIsNarrow(set, index - kFixedFavouriteItems, Papers(sheet)))
      image = kPageNarrowImage;
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = INT_PTR(index);
    item.pszText = W(text.data());
    item.iImage = item.iSelectedImage = image;
    SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void SelectFavourite(HWND page, SheetContext& sheet, const FavouriteSet& set,
                     bool narrowMarginAllowed) {
  JobSettings& work = sheet.workSettings;
  if (work.SettingsNameId >= kFixedFavouriteItems &&
      !set.InUse(work.SettingsNameId - kFixedFavouriteItems))
    SetWorkName(sheet, 0, kCurrentSettingsText);
  if (!narrowMarginAllowed && WorkPaperIsNarrow(sheet)) {
    SetWorkName(sheet, 0, kCurrentSettingsText);
    ShowTextBox(page, kNarrowCurrentText, kNarrowCaptionText);
  }
  SendDlgItemMessageW(page, kFavouritesListControl, CB_SETCURSEL, work.SettingsNameId, 0);
}

FavouriteApplied ApplyFavourite(HWND page, SheetContext& sheet, const FavouriteSet& set,
                                uint32_t index, bool narrowMarginAllowed) {
  switch (ClassifyFavourite(set, index, narrowMarginAllowed, Papers(sheet))) {
    case FavouriteLoad::kCurrent:
      SetWorkName(sheet, 0, kCurrentSettingsText);
      return FavouriteApplied::kNameOnly;
    case FavouriteLoad::kDefaults: {
      JobSettings defaults{};
      if (!SetDefaultJobSettings(&defaults, Services())) return FavouriteApplied::kNothing;
      sheet.workSettings = defaults;
      SetWorkName(sheet, 1, kDefaultSettingsText);
      return FavouriteApplied::kDefaults;
    }
    case FavouriteLoad::kNarrow:
      SetWorkName(sheet, 0, kCurrentSettingsText);
      ShowTextBox(page, kNarrowFavouriteText, kNarrowCaptionText);
      SendDlgItemMessageW(page, kFavouritesListControl, CB_SETCURSEL, 0, 0);
      return FavouriteApplied::kRefused;
    case FavouriteLoad::kEntry: {
      // A copy, checked as any record from outside: a damaged favourite
      // never becomes the working record.
      JobSettings js = set.slots[index - kFixedFavouriteItems].settings;
      RefreshEditablePaper(&js, Papers(sheet));
      Win32PrinterStore store(sheet.dataPrinter(), false);
      if (!ValidateJobSettings(&js, &store, Services())) return FavouriteApplied::kNothing;
      js.SettingsNameId = index;
      sheet.workSettings = js;
      return FavouriteApplied::kEntry;
    }
    case FavouriteLoad::kNothing:
      break;
  }
  return FavouriteApplied::kNothing;
}

std::unique_ptr<PrinterStore> OpenAdminStore(const SheetContext& sheet) {
  if (sheet.printerName) {
    Win32Spooler spooler;
    if (auto store = spooler.Open(U(sheet.printerName.get()), kPrinterAllAccess)) return store;
  }
  return std::make_unique<Win32PrinterStore>(sheet.dataPrinter(), false);
}

bool FavouritesDialogAllowed(const SheetContext& sheet) {
  return sheet.userDefaultMode && sheet.printerName &&
         CheckPrinterAdminAccess(nullptr, sheet.printerName.get(), FALSE);
}

uint32_t RunFavouritesDialog(HWND page, SheetContext& sheet, FavouriteSet* set,
                             bool narrowMarginAllowed) {
  const LRESULT current = SendDlgItemMessageW(page, kFavouritesListControl, CB_GETCURSEL, 0, 0);
  uint32_t index = current == CB_ERR ? 0 : uint32_t(current);
  ReadPageFavourites(sheet, set);
  ShowFavouritesDialog(page, sheet, set, &index, narrowMarginAllowed);
  FillFavouritesList(page, sheet, *set, narrowMarginAllowed, false);
  SendDlgItemMessageW(page, kFavouritesListControl, CB_SETCURSEL, index, 0);
  SetDlgItemTextW(page, kSettingsNameControl, W(SettingsNameOf(sheet.workSettings).c_str()));
  return index;
}

// ---- Favourites dialog (template 8000) -------------------------------------

namespace {

struct FavouritesData {
  SheetContext* sheet = nullptr;
  FavouriteSet* set = nullptr;
  uint32_t* selection = nullptr;  // the page's list index: in at the start, out on OK
  bool narrowAllowed = false;
  bool started = false;  // the three numbers and the value were read
  bool renaming = false;
  bool dirty = false;
  bool filling = false;  // the dialog itself is writing the name field
  uint32_t lastIndex = 0;
  uint32_t pageIndex = 0;  // the page's item, followed through deletions
  std::u16string currentText, defaultText;
  JobSettings defaults{};
};


void Enable(HWND dialog, std::initializer_list<int> ids, bool on) {
  for (int id : ids) EnableWindow(GetDlgItem(dialog, id), on);
}

std::u16string NameField(HWND dialog) {
  wchar_t text[64] = {};
  GetDlgItemTextW(dialog, IDC_FAVOURITES_NAME, text, 64);
  return Text(text);
}

void SetNameField(FavouritesData& d, HWND dialog, const std::u16string& name) {
  d.filling = true;
  SetDlgItemTextW(dialog, IDC_FAVOURITES_NAME, W(name.c_str()));
  d.filling = false;
}

const JobSettings& RecordOf(const FavouritesData& d, uint32_t index) {
  if (index == 0) return d.sheet->workSettings;
  if (index == 1) return d.defaults;
  return d.set->slots[index - kFixedFavouriteItems].settings;
}

void ShowDetails(FavouritesData& d, HWND dialog, uint32_t index, bool first) {
  FillSettingsList(GetDlgItem(dialog, IDC_FAVOURITES_DETAILS), RecordOf(d, index), false, first,
                   CurrentTextHandle(), d.sheet->dataPrinter());
}

bool EntryIsNarrow(const FavouritesData& d, uint32_t index) {
  return index >= kFixedFavouriteItems && !d.narrowAllowed &&
         FavouriteIsNarrow(*d.set, index - kFixedFavouriteItems, Papers(*d.sheet));
}

void FillList(FavouritesData& d, HWND dialog, uint32_t select, bool first) {
  HWND list = GetDlgItem(dialog, IDC_FAVOURITES_LIST);
  ListView_DeleteAllItems(list);
  if (first) {
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    if (HIMAGELIST old = ListView_SetImageList(list, LoadIconImageList(kDialogListIcons), LVSIL_SMALL))
      ImageList_Destroy(old);
    RECT client{};
    GetClientRect(list, &client);
    std::u16string head = TextOf(5049);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = W(head.data());
    column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
    ListView_InsertColumn(list, 0, &column);
  }
  const std::u16string workName = SettingsNameOf(d.sheet->workSettings);
  for (uint32_t index = 0; index < kFixedFavouriteItems + d.set->count; ++index) {
    std::u16string text = FavouriteItemText(*d.set, index, d.currentText, d.defaultText);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = int(index);
    item.pszText = W(text.data());
    item.iImage = index < kFixedFavouriteItems ? int(index) : EntryIsNarrow(d, index) ? 3 : 2;
    // Which item carries the current settings' name: it can be neither
    // deleted nor renamed away from them unnoticed.
    item.lParam = text == workName ? 1 : 0;
    ListView_InsertItem(list, &item);
  }
  if (select >= kFixedFavouriteItems + d.set->count) select = 0;
  ListView_SetItemState(list, int(select), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, int(select), FALSE);
}

bool CarriesCurrentName(HWND dialog, uint32_t index) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = int(index);
  return ListView_GetItem(GetDlgItem(dialog, IDC_FAVOURITES_LIST), &item) && item.lParam == 1;
}

void OnSelect(FavouritesData& d, HWND dialog, uint32_t index) {
  d.renaming = false;
  if (EntryIsNarrow(d, index)) {
    SetNameField(d, dialog, d.set->Name(index - kFixedFavouriteItems));
    Enable(dialog, {IDC_FAVOURITES_NAME_CAPTION, IDC_FAVOURITES_NAME, IDC_FAVOURITES_RENAME,
                    IDC_FAVOURITES_SAVE, IDC_FAVOURITES_DELETE, IDC_FAVOURITES_OK}, false);
    ShowDetails(d, dialog, index, false);
    return;
  }
  if (index >= kFixedFavouriteItems) {
    Enable(dialog, {IDC_FAVOURITES_NAME_CAPTION, IDC_FAVOURITES_NAME}, false);
    Enable(dialog, {IDC_FAVOURITES_DELETE, IDC_FAVOURITES_SAVE, IDC_FAVOURITES_RENAME,
                    IDC_FAVOURITES_OK}, true);
    SetNameField(d, dialog, d.set->Name(index - kFixedFavouriteItems));
    if (!d.set->InUse(index - kFixedFavouriteItems)) {
      ShowMessageById(dialog, 4090);
      return;
    }
  } else {
    Enable(dialog, {IDC_FAVOURITES_DELETE, IDC_FAVOURITES_RENAME}, false);
    Enable(dialog, {IDC_FAVOURITES_NAME, IDC_FAVOURITES_NAME_CAPTION, IDC_FAVOURITES_SAVE,
                    IDC_FAVOURITES_OK}, true);
    SetNameField(d, dialog, u"");
  }
  ShowDetails(d, dialog, index, false);
  d.lastIndex = index;
}

void FavouritesInit(DialogCall& call) {
  FavouritesData& d = call.Get<FavouritesData>();
  HWND dialog = call.dialog;
  d.lastIndex = d.pageIndex = *d.selection;
  HWND name = GetDlgItem(dialog, IDC_FAVOURITES_NAME);
  SendMessageW(name, EM_LIMITTEXT, kFavouriteNameChars, 0);
  SubclassNameEdit(name);
  SetDefaultJobSettings(&d.defaults, Services());
  Win32PrinterStore store(d.sheet->dataPrinter(), false);
  if (!ReadFavourites(&store, d.set)) {
    ShowMessageById(dialog, 4085);
    Enable(dialog, {IDC_FAVOURITES_NAME_CAPTION, IDC_FAVOURITES_NAME, IDC_FAVOURITES_RENAME,
                    IDC_FAVOURITES_SAVE, IDC_FAVOURITES_DELETE}, false);
    return;
  }
  d.started = true;
  d.currentText = TextOf(kCurrentSettingsText).substr(0, kFavouriteNameChars);
  d.defaultText = TextOf(kDefaultSettingsText).substr(0, kFavouriteNameChars);
  uint32_t select = d.sheet->workSettings.SettingsNameId;
  if (select >= kFixedFavouriteItems + d.set->count) select = 0;
  FillList(d, dialog, select, true);
  ShowDetails(d, dialog, 0, true);
  OnSelect(d, dialog, select);
  SetFocus(GetDlgItem(dialog, IDC_FAVOURITES_LIST));
}

// Save: add, rename or overwrite. true when something was stored.
bool Save(FavouritesData& d, HWND dialog) {
  if (!d.started) return false;
  const auto store = OpenAdminStore(*d.sheet);
  const std::u16string name = NameField(dialog);
  const int32_t selected = ListView_GetNextItem(GetDlgItem(dialog, IDC_FAVOURITES_LIST), -1, LVNI_SELECTED);
  SavePlan plan = PlanSave(*d.set, selected, name, d.renaming, d.currentText, d.defaultText);
  const auto before = std::make_unique<FavouriteSet>(*d.set);
  bool renamed = d.renaming;
  switch (plan.step) {
    case SaveStep::kNoName:
      ShowMessageById(dialog, 4086);
      return false;
    case SaveStep::kReservedName:
      ShowMessageById(dialog, 4087);
      return false;
    case SaveStep::kFull:
      ShowMessageById(dialog, 4088);
      return false;
    case SaveStep::kAskOverwrite:
      if (ShowMessageById(dialog, 4002, W(name.c_str())) != IDYES) return false;
      OverwriteFavourite(d.set, plan.slot, d.sheet->workSettings, name);
      renamed = true;
      break;
    case SaveStep::kRename:
      RenameFavourite(d.set, plan.slot, name);
      break;
    case SaveStep::kAskNew:
      if (ShowMessageById(dialog, 4003, W(name.c_str())) != IDYES) {
        d.dirty = true;
        return false;
      }
      AddFavourite(d.set, d.sheet->workSettings, name);
      break;
  }
  const uint32_t target = plan.slot + kFixedFavouriteItems;
  if (!SaveFavourites(store.get(), *d.set, d.set->count)) {
    *d.set = *before;  // nothing stored: the list shows what the printer holds
    ShowMessageById(dialog, 4089);
    return false;
  }
  // The entry that carried the current settings' name passes its new name on.
  if (renamed && CarriesCurrentName(dialog, target)) SetSettingsName(&d.sheet->workSettings, name);
  d.renaming = false;
  d.dirty = false;
  FillList(d, dialog, target, false);
  OnSelect(d, dialog, target);
  return true;
}

void Delete(DialogCall& call, FavouritesData& d) {
  HWND dialog = call.dialog;
  if (!d.started || d.lastIndex < kFixedFavouriteItems) return;
  const uint32_t slot = d.lastIndex - kFixedFavouriteItems;
  if (!d.set->InUse(slot)) {
    call.End(IDCANCEL);
    return;
  }
  if (CarriesCurrentName(dialog, d.lastIndex)) {
    ShowMessageById(dialog, 4091);
    return;
  }
  const std::u16string name = d.set->Name(slot);
  if (ShowMessageById(dialog, 4001, W(name.c_str())) != IDYES) return;
  const auto before = std::make_unique<FavouriteSet>(*d.set);
  const auto store = OpenAdminStore(*d.sheet);
  if (!DeleteFavouriteSlot(d.set, slot) || !RemoveFavourite(store.get(), *d.set)) {
    *d.set = *before;
    ShowMessageById(dialog, 4089);
    return;
  }
  // The page's item and the working record's favourite keep designating the
  // entries they did, now one slot lower when they came after it.
  d.pageIndex = IndexAfterDeletion(d.pageIndex, slot);
  JobSettings& work = d.sheet->workSettings;
  work.SettingsNameId = IndexAfterDeletion(work.SettingsNameId, slot);
  const uint32_t select = IndexAfterDeletion(d.lastIndex, slot);
  FillList(d, dialog, select, false);
  OnSelect(d, dialog, select);
}

bool FavouritesCommand(DialogCall& call, UINT id, UINT code) {
  FavouritesData& d = call.Get<FavouritesData>();
  HWND dialog = call.dialog;
  switch (id) {
    case IDC_FAVOURITES_RENAME:
      Enable(dialog, {IDC_FAVOURITES_NAME, IDC_FAVOURITES_NAME_CAPTION}, true);
      SetFocus(GetDlgItem(dialog, IDC_FAVOURITES_NAME));
      SendDlgItemMessageW(dialog, IDC_FAVOURITES_NAME, EM_SETSEL, 0, -1);
      EnableWindow(GetDlgItem(dialog, IDC_FAVOURITES_RENAME), FALSE);
      d.renaming = true;
      return true;
    case IDC_FAVOURITES_NAME:
      if (code == EN_UPDATE && !d.filling) {
        wchar_t text[64] = {};
        GetDlgItemTextW(dialog, IDC_FAVOURITES_NAME, text, 64);
        // Pasted text brings what typing cannot: tabs and spaces go.
        bool changed = StripTabs(text) != 0;
        std::wstring kept;
        for (const wchar_t* p = text; *p; ++p)
          if (IsFavouriteNameChar(char16_t(*p))) kept += *p;
        changed |= kept.size() != wcslen(text);
        if (changed) {
          d.filling = true;
          SetDlgItemTextW(dialog, IDC_FAVOURITES_NAME, kept.c_str());
          SendDlgItemMessageW(dialog, IDC_FAVOURITES_NAME, EM_SETSEL, kept.size(), kept.size());
          d.filling = false;
        }
        if (d.lastIndex < kFixedFavouriteItems || d.renaming) d.dirty = true;
      }
      return true;
    case IDC_FAVOURITES_SAVE:
      Save(d, dialog);
      return true;
    case IDC_FAVOURITES_DELETE:
      Delete(call, d);
      return true;
    case IDC_FAVOURITES_OK:
    case IDOK:
      if (!IsWindowEnabled(GetDlgItem(dialog, IDC_FAVOURITES_OK))) return true;
      if (d.dirty && !NameField(dialog).empty()) {
        if (ShowMessageById(dialog, 4092) != IDYES || !Save(d, dialog)) return true;
      }
      d.sheet->workSettings.SettingsNameId = d.lastIndex;
      *d.selection = d.lastIndex;
      call.End(IDOK);
      return true;
    case IDC_FAVOURITES_CANCEL:
    case IDCANCEL:
      *d.selection = d.pageIndex;
      call.End(IDCANCEL);
      return true;
    case IDC_FAVOURITES_HELP:
      ShowHelpTopic(dialog, d.sheet->dataPrinter(), help::kFavouritesDialog);
      return true;
    default:
      return false;
  }
}

LRESULT FavouritesNotify(DialogCall& call, const NMHDR& header, bool* handled) {
  FavouritesData& d = call.Get<FavouritesData>();
  if (header.idFrom != IDC_FAVOURITES_LIST || !d.started) return 0;
  if (header.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
        !(change.uOldState & LVIS_SELECTED))
      OnSelect(d, call.dialog, uint32_t(change.iItem));
  } else if (header.code == NM_CLICK) {
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    if (click.iItem >= 0) OnSelect(d, call.dialog, uint32_t(click.iItem));
  }
  *handled = false;
  return 0;
}

const DialogRow kFavouritesDialog = {
    IDD_FAVOURITES, &pages::kLayoutFavourites, pages::kTextsFavourites, pages::kHelpFavourites,
    4750, help::kFavouritesDialog,
    {.init = FavouritesInit, .command = FavouritesCommand, .notify = FavouritesNotify}};

}  // namespace

INT_PTR ShowFavouritesDialog(HWND owner, SheetContext& sheet, FavouriteSet* set,
                             uint32_t* selection, bool narrowMarginAllowed) {
  FavouritesData data;
  data.sheet = &sheet;
  data.set = set;
  data.selection = selection;
  data.narrowAllowed = narrowMarginAllowed;
  return RunModalDialog(owner, kFavouritesDialog, &data);
}

}  // namespace vq
