#include "pages/basic/basic_page_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/activation_win.h"
#include "devinfo/difm_loader_win.h"
#include "devinfo/text_ids.h"
#include "pages/basic/basic_rules.h"
#include "pages/basic/custom_paper_win.h"
#include "pages/basic/favourites_win.h"
#include "pages/basic/paper_tip_win.h"
#include "pages/basic/settings_list_win.h"
#include "pages/control_ids.h"
#include "pages/page_layouts.h"
#include "pages/sheet/settings_name_win.h"
#include "settings/job_checks.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/page_preview_win.h"
#include "uicore/resource_ids.h"
#include "uicore/texts_win.h"

namespace vq {

uint32_t FillPaperCombo(HWND list, PaperInfo* table, size_t count, bool narrowMarginAllowed,
                        uint32_t* currentPaper, const std::u16string& narrowPrefix) {
  std::vector<std::u16string> items;
  const int found = basic::FillPaperList(table, count, narrowMarginAllowed, currentPaper, narrowPrefix, &items);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& item : items)
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  const uint32_t index = found < 0 ? 0 : static_cast<uint32_t>(found);
  SendMessageW(list, CB_SETCURSEL, index, 0);
  return index;
}

namespace {

constexpr uint32_t kPreviewMode = 2;
constexpr uint32_t kSpecialSetMarkBit = 0x80;
constexpr uint32_t kSpecialSetWideMarginsBit = 0x10;

// Texts the page builds its lines and questions from.
enum : uint16_t {
  kNarrowPrefixText = 4388,
  kProfileCaptionText = 4757,
  kCurrentSettingsText = 4760,
  kNarrowPaperText = 5386,
  kPaperCaptionText = 5389,
  kProfileQuestionText = 5534,
};
enum : uint32_t {
  kShortLabelMessage = 4114,
  kPlainPaperMessage = 4115,
  kLeavingPlainPaperMessage = 4118,
  kSettingsInvalidMessage = 4130,
};

// The user-defined size of this process's sheets outside user-default
// mode: a size made in one sheet is offered again in the next.
PaperInfo userPaperRecord{};

struct BasicState {
  basic::PageSnapshot reference, live;
  int32_t maxCopies;
  uint32_t paperIndex;  // of the selected paper in the sheet's table
  uint32_t scaling;     // APUI_BSCALING when the page opened
  uint8_t specialSet;
  bool narrowMarginAllowed;
  bool adminAccess;
  bool settingCopies;   // the page itself is writing the copies field
  HWND listTip;         // follows the highlighted item of an open list
  int listTipItem;
  FavouriteSet favourites;
};

HWND Item(const PageCall& c, int id) { return GetDlgItem(c.page, id); }

std::wstring Text(uint16_t id) {
  wchar_t text[1024] = {};
  LoadTextById(id, text, sizeof text - sizeof(wchar_t));
  return text;
}
std::u16string Text16(uint16_t id) {
  const std::wstring t = Text(id);
  return std::u16string(t.begin(), t.end());
}
std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

JobSettings& Work(const PageCall& c) { return c.sheet.workSettings; }

// --- Snapshots and the settings name --------------------------------------

basic::PageSnapshot Snapshot(const PageCall& c) {
  return basic::ReadPageSnapshot(Work(c), c.sheet.mediaTable.get(), c.sheet.mediaCount,
                                 c.Get<BasicState>().paperIndex);
}

void TakeSnapshots(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  s.reference = s.live = Snapshot(c);
}

void ShowSettingsName(const PageCall& c) { vq::ShowSettingsName(c.page, IDC_BASIC_SETTINGS_NAME, Work(c)); }

void NoteSettingsChange(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  s.live = Snapshot(c);
  const basic::ChangeVerdict v = basic::CompareSnapshots(s.reference, s.live);
  HWND sheet = GetParent(c.page);
  if (v.copiesDiffer) PropSheet_Changed(sheet, c.page);
  if (!v.settingsChanged) return ShowSettingsName(c);
  basic::MarkChangedByHand(Work(c), Text16(kCurrentSettingsText));
  ShowSettingsName(c);
  SelectFavourite(c.page, c.sheet, s.favourites, s.narrowMarginAllowed);
  PropSheet_Changed(sheet, c.page);
}

// --- Paper ----------------------------------------------------------------

bool ReadSpecialSet(const PageCall& c, uint8_t* first) {
  Win32PrinterStore printer(c.sheet.dataPrinter(), false);
  std::vector<unsigned char> value;
  if (!ReadPrinterValue(&printer, pd::kSpecialSet, &value) || value.empty()) return false;
  *first = value[0];
  return true;
}

// Narrow margins are allowed when the printer's special settings say so; a
// value that cannot be read allows nothing.
void ReadNarrowMargins(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  uint8_t first = 0;
  const bool read = ReadSpecialSet(c, &first);
  s.specialSet = read ? first : 0;
  s.narrowMarginAllowed = read && !(first & kSpecialSetWideMarginsBit);
}

PaperInfo* Papers(const PageCall& c) { return c.sheet.paperTable.get(); }

// FillPaperList: the list from the sheet's table, the current paper's item
// selected. The current paper falls back to the first when the printer does
// not allow it. Returns the selected index.
uint32_t FillPaperList(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  uint32_t current = static_cast<uint16_t>(Work(c).dmPaperSize);
  s.paperIndex = FillPaperCombo(Item(c, IDC_BASIC_PAPER_LIST), Papers(c), c.sheet.paperCount(),
                                s.narrowMarginAllowed, &current, Text16(kNarrowPrefixText));
  return s.paperIndex;
}

const PaperInfo& SelectedPaper(const PageCall& c) { return Papers(c)[c.Get<BasicState>().paperIndex]; }

void ApplyCustomPaperRule(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  const PaperInfo& selected = SelectedPaper(c);
  const bool enabled = basic::CustomPaperEnabled(s.adminAccess, c.sheet.userDefaultMode, selected);
  EnableWindow(Item(c, IDC_BASIC_CUSTOM_PAPER), enabled);
  if (enabled && !c.sheet.userDefaultMode && userPaperRecord.paperId == kUserDefinedPaper)
    basic::TakeUserPaper(Work(c), userPaperRecord);
}

void ShowPaperOption(PageCall& c, basic::OptionBox box) {
  HWND check = Item(c, IDC_BASIC_ROTATE_180);
  if (box == basic::OptionBox::kForceOn) {
    Button_SetCheck(check, BST_CHECKED);
    EnableWindow(check, FALSE);
  } else if (box == basic::OptionBox::kRelease) {
    Button_SetCheck(check, BST_UNCHECKED);
    EnableWindow(check, TRUE);
  }
}

void MinimumLength(PageCall& c, uint32_t length) {
  if (basic::ApplyMinimumLength(Work(c), length)) ShowMessageById(c.page, kShortLabelMessage);
}

void OnPaperChosen(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  HWND list = Item(c, IDC_BASIC_PAPER_LIST);
  LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<size_t>(index) >= c.sheet.paperCount()) return;
  if (!s.narrowMarginAllowed && Papers(c)[index].narrowMargin == 1) {
    MessageBoxW(c.page, Text(kNarrowPaperText).c_str(), Text(kPaperCaptionText).c_str(), MB_OK);
    index = 0;
    SendMessageW(list, CB_SETCURSEL, 0, 0);
  }
  s.paperIndex = static_cast<uint32_t>(index);
  const PaperInfo& paper = Papers(c)[index];
  JobSettings& js = Work(c);
  const uint32_t layoutBefore = js.Paper.paperLayout;
  const basic::OptionBox box = basic::PaperOptionAfter(paper.paperLayout, layoutBefore);
  basic::ApplyPaperOption(js, box);
  ShowPaperOption(c, box);
  MinimumLength(c, basic::CutLength(paper, layoutBefore));
  basic::TakePaper(js, paper);
  ApplyCustomPaperRule(c);
  NoteSettingsChange(c);
  RedrawPagePreview(c.page, kPreviewMode);
}

// The table's record of the working record's paper carries the list's
// narrow-margin mark (FillPaperList sets it).
bool RecordPaperIsNarrow(const PageCall& c) {
  const uint16_t id = static_cast<uint16_t>(Work(c).dmPaperSize);
  for (DWORD i = 0; i < c.sheet.paperCount(); ++i)
    if (Papers(c)[i].paperId == id) return Papers(c)[i].narrowMargin == 1;
  return false;
}

// RefreshPaperListIfNeeded: another page (the special settings) may have
// changed whether narrow margins are allowed; the list then follows.
void RefreshPaperListIfNeeded(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  const bool before = s.narrowMarginAllowed;
  ReadNarrowMargins(c);
  if (s.narrowMarginAllowed == before) return;
  FillPaperList(c);
  FillFavouritesList(c.page, c.sheet, s.favourites, s.narrowMarginAllowed, false);
  JobSettings& js = Work(c);
  if (js.SettingsNameId < kFixedFavouriteItems) {
    basic::TakePaper(js, SelectedPaper(c));
  } else if (!s.narrowMarginAllowed && RecordPaperIsNarrow(c)) {
    // The favourite's paper is not allowed any more: back to the defaults.
    SendMessageW(c.page, WM_COMMAND, MAKEWPARAM(IDC_BASIC_DEFAULTS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(c, IDC_BASIC_DEFAULTS)));
    js.SettingsNameId = 0;
  }
  SendMessageW(Item(c, kFavouritesListControl), CB_SETCURSEL, js.SettingsNameId, 0);
  ApplyCustomPaperRule(c);
  RedrawPagePreview(c.page, kPreviewMode);
}

// --- Media ----------------------------------------------------------------

void FillMediaList(PageCall& c) {
  HWND list = Item(c, IDC_BASIC_MEDIA_LIST);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  const MediaData* media = c.sheet.mediaTable.get();
  for (DWORD i = 0; i < c.sheet.mediaCount; ++i) {
    std::wstring name(reinterpret_cast<const wchar_t*>(media[i].mediaName),
                      std::find(media[i].mediaName, media[i].mediaName + 64, u'\0') - media[i].mediaName);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageW(list, CB_SETCURSEL, basic::MediaListIndex(media, c.sheet.mediaCount, Work(c).MediaTypeId), 0);
}

bool ReadProfile(const PageCall& c, uint32_t number, basic::ProfileWords* words) {
  Win32PrinterStore printer(c.sheet.dataPrinter(), false);
  unsigned char entry[kProfileEntrySize] = {};
  if (!ReadProfileListEntry(&printer, number, entry)) return false;
  *words = basic::ReadProfileWords(entry);
  return true;
}

bool HasOwnProfile(const MediaData& m) {
  return m.mediaId >= kFirstUserMediaId && m.mediaId <= kLastUserMediaId && m.profileNumber;
}

void OnMediaChosen(PageCall& c) {
  const LRESULT index = SendMessageW(Item(c, IDC_BASIC_MEDIA_LIST), CB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<DWORD>(index) >= c.sheet.mediaCount) return;
  const MediaData& m = c.sheet.mediaTable.get()[index];
  JobSettings& js = Work(c);
  if (m.mediaId == basic::kMediaPlainPaper) {
    ShowMessageById(c.page, kPlainPaperMessage);
    js.PrintLevel = basic::PlainPaperPrintLevel(js.PrintLevel);
  } else if (HasOwnProfile(m)) {
    basic::ProfileWords words{};
    if (!ReadProfile(c, m.profileNumber, &words)) {
      ShowMessageById(c.page, kSettingsInvalidMessage);
    } else {
      const std::u16string question =
          basic::FormatText(Text16(kProfileQuestionText), basic::ProfileArgs(words, DetailTexts()));
      if (MessageBoxW(c.page, Wide(question).c_str(), Text(kProfileCaptionText).c_str(),
                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
        js.Halftone = words.halftone;
        js.dmPrintQuality = js.dmYResolution = static_cast<int16_t>(words.resolution);
      }
    }
  }
  if (js.MediaClass == basic::kMediaPlainPaper && m.mediaId != basic::kMediaPlainPaper)
    ShowMessageById(c.page, kLeavingPlainPaperMessage);
  js.MediaClass = m.mediaClass;
  js.MediaTypeId = m.mediaId;
  NoteSettingsChange(c);
}

// --- Copies and orientation -----------------------------------------------

void ShowCopies(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  HWND edit = Item(c, IDC_BASIC_COPIES);
  wchar_t now[16] = {};
  GetWindowTextW(edit, now, 16);
  if (_wtoi(now) == Work(c).dmCopies && now[0] != L'0') return;
  s.settingCopies = true;
  WriteEditInteger(edit, Work(c).dmCopies);
  s.settingCopies = false;
}

void ReadCopiesField(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  if (s.settingCopies) return;
  HWND edit = Item(c, IDC_BASIC_COPIES);
  const basic::CopiesReading r = basic::ReadCopies(ReadEditInteger(edit), s.maxCopies);
  Work(c).dmCopies = r.copies;
  if (r.resetField) {
    s.settingCopies = true;
    WriteEditInteger(edit, 1);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    s.settingCopies = false;
  }
  NoteSettingsChange(c);
}

void ShowOrientation(PageCall& c) {
  // Each box set on its own: CheckRadioButton would send BM_SETCHECK to
  // every id between the two radios, the PaperOption box (1124) among them,
  // and clear it on every redraw of the preview.
  const basic::OrientationView v = basic::ViewOrientation(Work(c));
  const std::pair<int, bool> boxes[] = {{IDC_BASIC_PORTRAIT, v.portrait},
                                        {IDC_BASIC_LANDSCAPE, !v.portrait},
                                        {IDC_BASIC_ORIENTATION_LOCK, v.lockChecked}};
  for (const auto& [id, on] : boxes)
    if ((Button_GetCheck(Item(c, id)) == BST_CHECKED) != on) Button_SetCheck(Item(c, id), on ? BST_CHECKED : BST_UNCHECKED);
}

bool LockChecked(const PageCall& c) {
  return Button_GetCheck(Item(c, IDC_BASIC_ORIENTATION_LOCK)) == BST_CHECKED;
}

void OnOrientation(PageCall& c, int16_t orientation) {
  JobSettings& js = Work(c);
  js.dmOrientation = orientation;
  if (LockChecked(c)) js.OrientationLock = basic::OrientationLockFor(true, orientation);
  NoteSettingsChange(c);
  RedrawPagePreview(c.page, kPreviewMode);
}

void OnLock(PageCall& c) {
  JobSettings& js = Work(c);
  js.OrientationLock = basic::OrientationLockFor(LockChecked(c), js.dmOrientation);
  NoteSettingsChange(c);
}

void OnPaperOption(PageCall& c) {
  Work(c).PaperOption = Button_GetCheck(Item(c, IDC_BASIC_ROTATE_180)) == BST_CHECKED ? 1 : 0;
  NoteSettingsChange(c);
  RedrawPagePreview(c.page, kPreviewMode);
}

// --- Restore defaults -----------------------------------------------------

// The paper and media items, copies and orientation from the working record.
void ShowRecord(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  const JobSettings& js = Work(c);
  for (DWORD i = 0; i < c.sheet.paperCount(); ++i)
    if (Papers(c)[i].paperId == static_cast<uint16_t>(js.dmPaperSize)) s.paperIndex = i;
  SendMessageW(Item(c, IDC_BASIC_PAPER_LIST), CB_SETCURSEL, s.paperIndex, 0);
  SendMessageW(Item(c, IDC_BASIC_MEDIA_LIST), CB_SETCURSEL,
               basic::MediaListIndex(c.sheet.mediaTable.get(), c.sheet.mediaCount, js.MediaTypeId), 0);
  ShowCopies(c);
  ShowOrientation(c);
}

void OnRestoreDefaults(PageCall& c) {
  JobSettings& js = Work(c);
  if (js.MediaClass == basic::kMediaPlainPaper) ShowMessageById(c.page, kLeavingPlainPaperMessage);
  JobSettings d{};
  if (!SetDefaultJobSettings(&d, Services())) return;
  js.dmCopies = d.dmCopies;
  js.dmOrientation = d.dmOrientation;
  js.PaperOption = d.PaperOption;
  js.OrientationLock = d.OrientationLock;
  js.dmPaperSize = d.dmPaperSize;
  js.Paper = d.Paper;
  std::copy(std::begin(d.dmFormName), std::end(d.dmFormName), js.dmFormName);
  js.dmPaperWidth = d.dmPaperWidth;
  js.dmPaperLength = d.dmPaperLength;
  js.MediaClass = d.MediaClass;
  js.MediaTypeId = d.MediaTypeId;
  js.ScalingMode = d.ScalingMode;
  js.dmScale = d.dmScale;

  ShowRecord(c);
  HWND option = Item(c, IDC_BASIC_ROTATE_180);
  Button_SetCheck(option, BST_UNCHECKED);
  EnableWindow(option, TRUE);
  ApplyCustomPaperRule(c);
  TakeSnapshots(c);
  RedrawPagePreview(c.page, kPreviewMode);
  PropSheet_Changed(GetParent(c.page), c.page);
  basic::MarkChangedByHand(js, Text16(kCurrentSettingsText));
  ShowSettingsName(c);
  BasicState& s = c.Get<BasicState>();
  SelectFavourite(c.page, c.sheet, s.favourites, s.narrowMarginAllowed);
}

// --- Favourites -----------------------------------------------------------

void AfterFavourite(PageCall& c, FavouriteApplied applied) {
  ShowSettingsName(c);
  if (applied == FavouriteApplied::kDefaults || applied == FavouriteApplied::kEntry) {
    JobSettings& js = Work(c);
    ShowRecord(c);
    const bool turnedOnly = js.Paper.paperLayout == basic::kTurnedOnlyLayout;
    HWND option = Item(c, IDC_BASIC_ROTATE_180);
    Button_SetCheck(option, js.PaperOption ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(option, !turnedOnly);
    ApplyCustomPaperRule(c);
    TakeSnapshots(c);
    PropSheet_Changed(GetParent(c.page), c.page);
    MinimumLength(c, basic::CutLength(js.Paper, js.Paper.paperLayout));
  }
  RedrawPagePreview(c.page, kPreviewMode);
}

void OnFavouriteChosen(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  const LRESULT index = SendMessageW(Item(c, kFavouritesListControl), CB_GETCURSEL, 0, 0);
  if (index < 0 || index >= static_cast<LRESULT>(kFixedFavouriteItems + kFavouriteSlots)) return;
  AfterFavourite(c, ApplyFavourite(c.page, c.sheet, s.favourites, static_cast<uint32_t>(index),
                                   s.narrowMarginAllowed));
}

void OnFavouritesDialog(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  const uint32_t index = RunFavouritesDialog(c.page, c.sheet, &s.favourites, s.narrowMarginAllowed);
  ShowSettingsName(c);
  AfterFavourite(c, ApplyFavourite(c.page, c.sheet, s.favourites, index, s.narrowMarginAllowed));
}

// --- Custom paper ---------------------------------------------------------

// Reads the printer's paper table into the sheet again (the dialog may have
// added, changed or deleted user papers); outside user-default mode the
// process's user paper takes the user-defined size's place.
void ReloadPaperTable(PageCall& c) {
  Win32PrinterStore printer(c.sheet.dataPrinter(), false);
  std::vector<PaperInfo> papers = ReadPaperTable(&printer);
  if (papers.empty()) return;
  if (!c.sheet.userDefaultMode && userPaperRecord.paperId == kUserDefinedPaper) {
    const uint32_t supported = GetPrinterDword(&printer, pd::kPaperSupCount);
    if (supported >= 1 && supported <= papers.size()) papers[supported - 1] = userPaperRecord;
  }
  c.sheet.paperTable.assign(papers.data(), papers.size());
}

void OnCustomPaper(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  ReadNarrowMargins(c);
  CustomPaperOutcome out;
  const PaperInfo* user = c.sheet.userDefaultMode ? nullptr : &userPaperRecord;
  if (!RunCustomPaperDialog(c.page, c.sheet, s.narrowMarginAllowed, user, &out)) return;
  JobSettings& js = Work(c);
  const uint32_t layoutBefore = js.Paper.paperLayout;
  const basic::OptionBox box = basic::PaperOptionAfter(out.paper.paperLayout, layoutBefore);
  basic::ApplyPaperOption(js, box);
  ShowPaperOption(c, box);
  if (!c.sheet.userDefaultMode) userPaperRecord = out.paper;
  if (out.confirmed) {
    basic::TakePaper(js, out.paper);
    js.MeasureUnit = out.measureUnit;
  }
  MinimumLength(c, basic::CutLength(js.Paper, layoutBefore));
  ReadNarrowMargins(c);
  ReloadPaperTable(c);
  FillPaperList(c);
  basic::TakePaper(js, SelectedPaper(c));
  ApplyCustomPaperRule(c);
  NoteSettingsChange(c);
  RedrawPagePreview(c.page, kPreviewMode);
}

// --- Details tooltips -----------------------------------------------------

void WithdrawTips(BasicState& s) {
  if (s.listTip) DestroyWindow(s.listTip);
  s.listTip = nullptr;
  s.listTipItem = -1;
}

std::u16string MediaText(const PageCall& c, const MediaData& m) {
  basic::ProfileWords words{};
  const bool profile = m.profileNumber && ReadProfile(c, m.profileNumber, &words);
  return basic::MediaDetails(m, profile ? &words : nullptr, DetailTexts());
}

// The drop-down list of 1102 or 1108: the tooltip follows its highlight.
LRESULT CALLBACK DetailsListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR ref) {
  const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(list, DetailsListProc, id);
  if (message != WM_MOUSEMOVE && message != WM_KEYDOWN && message != LB_SETCURSEL) return result;
  HWND page = reinterpret_cast<HWND>(ref);
  auto* state = static_cast<BasicState*>(PageState(page));
  SheetContext* sheet = CurrentSheet();
  if (!state || !sheet || !state->listTip || !IsWindowVisible(list)) return result;
  const int item = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  if (item < 0 || item == state->listTipItem) return result;
  PageCall c{page, *sheet, kBasicPage, state};
  std::u16string text;
  if (id == IDC_BASIC_PAPER_LIST && static_cast<DWORD>(item) < sheet->paperCount())
    text = PaperText(sheet->workSettings, sheet->paperTable.get()[item]);
  else if (id == IDC_BASIC_MEDIA_LIST && static_cast<DWORD>(item) < sheet->mediaCount)
    text = MediaText(c, sheet->mediaTable.get()[item]);
  if (text.empty()) return result;
  state->listTipItem = item;
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
  RECT whole{};
  GetWindowRect(list, &whole);
  ShowTrackingTip(state->listTip, page, static_cast<UINT>(id), text, POINT{whole.right + 4, r.top});
  return result;
}

void SubclassForTips(PageCall& c) {
  const DWORD_PTR ref = reinterpret_cast<DWORD_PTR>(c.page);
  for (int id : {IDC_BASIC_PAPER_LIST, IDC_BASIC_MEDIA_LIST}) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(Item(c, id), &info) && info.hwndList)
      SetWindowSubclass(info.hwndList, DetailsListProc, id, ref);
  }
  AttachPreviewTip(c.page, Item(c, IDC_BASIC_PAPER_PREVIEW), Item(c, IDC_BASIC_ORIENTATION_PICTURE));
}

// --- Handlers -------------------------------------------------------------

void OnInit(PageCall& c) {
  BasicState& s = c.Get<BasicState>();
  SheetContext& sheet = c.sheet;
  JobSettings& js = sheet.workSettings;
  s.listTipItem = -1;
  if (!sheet.paperCount()) return;
  {
    Win32PrinterStore printer(sheet.dataPrinter(), false);
    s.scaling = GetPrinterDword(&printer, pd::kScaling);
  }
  const auto copiesInf = DeviceInfoApi().DifmGetCopiesInf;
  s.maxCopies = copiesInf && sheet.hDeviceInfo ? copiesInf(sheet.hDeviceInfo.get()) : 1;
  if (s.maxCopies < 1) s.maxCopies = 1;
  TakeSnapshots(c);
  ReadNarrowMargins(c);
  s.adminAccess = CheckPrinterAdminAccess(c.page, sheet.printerName.get(), FALSE) != 0;

  if (!sheet.userDefaultMode)
    basic::MergeUserPaper(js, Papers(c), sheet.paperCount(), userPaperRecord);
  FillPaperList(c);
  basic::TakePaper(js, SelectedPaper(c));
  Button_SetCheck(Item(c, IDC_BASIC_INK_SAVING_MARK),
                  (s.specialSet & kSpecialSetMarkBit) ? BST_CHECKED : BST_UNCHECKED);
  ApplyCustomPaperRule(c);
  if (!sheet.userDefaultMode && userPaperRecord.paperId != kUserDefinedPaper) {
    Win32PrinterStore printer(sheet.dataPrinter(), false);
    const uint32_t supported = GetPrinterDword(&printer, pd::kPaperSupCount);
    if (supported >= 1 && supported <= sheet.paperCount()) {
      userPaperRecord = Papers(c)[supported - 1];
      js.Option484 = 0;
    }
  }
  // A favourites value that cannot be read at all ends the page's start, as
  // a missing paper table does.
  if (!ReadPageFavourites(sheet, &s.favourites)) return;
  EnableWindow(Item(c, IDC_BASIC_FAVOURITES_DIALOG), FavouritesDialogAllowed(sheet));
  FillFavouritesList(c.page, sheet, s.favourites, s.narrowMarginAllowed, true);
  SelectFavourite(c.page, sheet, s.favourites, s.narrowMarginAllowed);

  FillMediaList(c);
  HWND edit = Item(c, IDC_BASIC_COPIES);
  SendMessageW(edit, EM_LIMITTEXT, basic::kMaxCopiesChars, 0);
  HWND spin = Item(c, IDC_BASIC_COPIES_SPIN);
  SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  SendMessageW(spin, UDM_SETRANGE32, 1, s.maxCopies);
  SendMessageW(spin, UDM_SETPOS32, 0, js.dmCopies);
  ShowCopies(c);
  ShowOrientation(c);
  Button_SetCheck(Item(c, IDC_BASIC_ROTATE_180), js.PaperOption ? BST_CHECKED : BST_UNCHECKED);
  if (js.Paper.paperLayout == basic::kTurnedOnlyLayout) EnableWindow(Item(c, IDC_BASIC_ROTATE_180), FALSE);
  ShowSettingsName(c);
  SubclassForTips(c);
}

void OnActivate(PageCall& c) {
  if (!c.sheet.paperCount()) return;
  TakeSnapshots(c);
  ShowCopies(c);
  RefreshPaperListIfNeeded(c);
  // The media editor of the utility page may have changed the table since.
  FillMediaList(c);
  BasicState& s = c.Get<BasicState>();
  SelectFavourite(c.page, c.sheet, s.favourites, s.narrowMarginAllowed);
}

void OnDeactivate(PageCall& c) {
  if (!c.sheet.paperCount()) return;
  ReadCopiesField(c);
  WithdrawTips(c.Get<BasicState>());
}

void OnCommand(PageCall& c, UINT id, UINT code) {
  if (!c.sheet.paperCount()) return;
  BasicState& s = c.Get<BasicState>();
  switch (id) {
    case IDC_BASIC_PAPER_LIST:
    case IDC_BASIC_MEDIA_LIST:
      if (code == CBN_DROPDOWN && !s.listTip) {
        s.listTip = CreateTrackingTip(c.page, id);
        s.listTipItem = -1;
      } else if (code == CBN_CLOSEUP) {
        WithdrawTips(s);
      } else if (code == CBN_SELCHANGE) {
        id == IDC_BASIC_PAPER_LIST ? OnPaperChosen(c) : OnMediaChosen(c);
      }
      break;
    case IDC_BASIC_COPIES:
      if (code == EN_CHANGE || code == EN_KILLFOCUS) ReadCopiesField(c);
      break;
    case IDC_BASIC_PORTRAIT:
    case IDC_BASIC_LANDSCAPE:
      if (code == BN_CLICKED) OnOrientation(c, id == IDC_BASIC_PORTRAIT ? 1 : 2);
      break;
    case IDC_BASIC_ORIENTATION_LOCK:
      if (code == BN_CLICKED) OnLock(c);
      break;
    case IDC_BASIC_ROTATE_180:
      if (code == BN_CLICKED) OnPaperOption(c);
      break;
    case IDC_BASIC_DEFAULTS:
      if (code == BN_CLICKED) OnRestoreDefaults(c);
      break;
    case kFavouritesListControl:
      if (code == CBN_SELCHANGE) OnFavouriteChosen(c);
      break;
    case kFavouritesButtonControl:
      if (code == BN_CLICKED) OnFavouritesDialog(c);
      break;
    case kCustomPaperButtonControl:
      if (code == BN_CLICKED) OnCustomPaper(c);
      break;
    case kSummaryButtonControl:
      if (code == BN_CLICKED) ShowSettingsSummary(c.page, Work(c), s.scaling != 0, c.sheet.dataPrinter());
      break;
    case kVersionButtonControl:
      if (code == BN_CLICKED) ShowVersionDialog(c.page, c.sheet.dataPrinter());
      break;
    default:
      break;
  }
}

// Redrawing the preview also brings the controls back in line with the
// record, which the favourites and the custom paper dialog change too.
bool OnDrawItem(PageCall& c, const DRAWITEMSTRUCT& item) {
  if (!c.sheet.paperCount()) return false;
  if (item.CtlID == IDC_BASIC_PAPER_PREVIEW) {
    const JobSettings& js = Work(c);
    ShowOrientation(c);
    const UINT option = js.PaperOption ? BST_CHECKED : BST_UNCHECKED;
    if (Button_GetCheck(Item(c, IDC_BASIC_ROTATE_180)) != static_cast<LRESULT>(option))
      Button_SetCheck(Item(c, IDC_BASIC_ROTATE_180), option);
    ShowSettingsName(c);
  }
  return DrawPreviewItem(c.sheet.hIconModule.get(), item, Work(c), kPreviewMode);
}

// Files for the overlay check of the apply.
class PageFiles final : public FileAccess {
 public:
  bool FolderExists(const std::u16string& folder) override {
    const DWORD a = GetFileAttributesW(reinterpret_cast<const wchar_t*>(folder.c_str()));
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool FileExists(const std::u16string& path) override {
    const DWORD a = GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str()));
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool ReadStart(const std::u16string&, uint8_t*, size_t, size_t*, uint64_t*) override { return false; }
};

LONG OnApply(PageCall& c) {
  ReadCopiesField(c);
  JobSettings check = Work(c);
  Win32PrinterStore printer(c.sheet.dataPrinter(), false);
  if (!ValidateJobSettings(&check, &printer, Services())) {
    ShowMessageById(c.page, kSettingsInvalidMessage);
    return PSNRET_INVALID;
  }
  // An overlay that is on with an unusable form path: the overlay page says so.
  PageFiles files;
  if (OverlayRefusesJob(CheckOverlayForm(Work(c), files))) return kApplyWithoutResult;
  return PSNRET_NOERROR;
}

void OnDestroy(PageCall& c) { WithdrawTips(c.Get<BasicState>()); }

bool OnMessage(PageCall& c, UINT message, WPARAM, LPARAM, INT_PTR*) {
  if (!c.sheet.paperCount()) return false;
  switch (message) {
    case WM_ACTIVATE:
      RefreshPaperListIfNeeded(c);
      return false;
    case WM_PAINT:
      ShowCopies(c);
      return false;
    default:
      return false;
  }
}

}  // namespace

PaperInfo& UserPaperRecord() { return userPaperRecord; }

const PageRow kBasicPage = {
    IDD_BASIC,
    text_ids::kBasicPageTitle,
    rd::kBasicTabIcon,
    kPageFlags,
    PageCondition::kAlways,
    help::kBasicPage,
    &pages::kLayoutBasic,
    pages::kTextsBasic,
    pages::kHelpBasic,
    0,
    {&OnInit, &OnActivate, &OnCommand, &OnDrawItem, &OnApply, &OnDestroy, &OnDeactivate, &OnMessage},
    PageStateSize<BasicState>(),
    &PageProc<kBasicPage>};

}  // namespace vq
