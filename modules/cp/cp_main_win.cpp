// VQ312CP.dll: the custom paper dialog. The UI module opens it on the
// current paper (OpenCCPD), hands it the size limits (SetCCPDPaperTypeInfo)
// and the paper table (DispCCPD); the user picks, adds, changes and deletes
// user papers, and every store or delete goes through the UI module's
// callbacks, which check the paper and write the printer's paper table.
//
// Texts come from the device-information module beside this one, mapped
// for the printer, in the user's language.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

#include "devinfo/difm_api.h"
#include "modules/cp/cp_ids.h"
#include "pages/basic/custom_paper.h"

namespace {

using namespace vq;

HINSTANCE g_instance = nullptr;

using ValidateFn = DWORD(WINAPI*)(HWND, HWND, PaperInfo*, PaperInfo*, CustomPaperList*, BOOL);
using DeleteFn = DWORD(WINAPI*)(HWND, const PaperInfo*, CustomPaperList*);

// The size fields, their captions' texts and the record fields they edit.
struct SizeField {
  int control;
  uint32_t caption;
  uint32_t PaperInfo::*field;
};
constexpr SizeField kFields[] = {
    {IDC_CP_WIDTH, 5443, &PaperInfo::paperWidth},      {IDC_CP_LENGTH, 5444, &PaperInfo::paperLength},
    {IDC_CP_TOP, 5359, &PaperInfo::marginTop},         {IDC_CP_BOTTOM, 5360, &PaperInfo::marginBottom},
    {IDC_CP_LEFT, 5361, &PaperInfo::marginLeft},       {IDC_CP_RIGHT, 5362, &PaperInfo::marginRight},
    {IDC_CP_GAP, 5445, &PaperInfo::gap},               {IDC_CP_LINER_LEFT, 5446, &PaperInfo::linerLeft},
    {IDC_CP_LINER_RIGHT, 5447, &PaperInfo::linerRight},
};

constexpr struct {
  int control;
  uint32_t text;
} kLabels[] = {
    {IDC_CP_LIST_CAPTION, 5441}, {IDC_CP_NEW, 5451},  {IDC_CP_DELETE, 4367}, {IDC_CP_NAME_CAPTION, 4364},
    {IDC_CP_UNIT_GROUP, 5448},   {IDC_CP_MM, 5449},   {IDC_CP_INCH, 5450},   {IDC_CP_SAVE, 4366},
    {IDOK, 4359},                {IDCANCEL, 4369},    {IDC_CP_HELP, 4370},
};
constexpr uint32_t kTitleText = 5440;

// One open dialog: what OpenCCPD and SetCCPDPaperTypeInfo were given.
struct Ccpd {
  HWND page = nullptr;
  HANDLE printer = nullptr;
  PaperInfo current{};
  unsigned char callbacks[kCallbacksSize] = {};
  uint32_t limits[kPaperTypeLimitCount] = {};
  bool haveLimits = false;
  HMODULE deviceModule = nullptr;
  DifmApi difm{};
  DifmHandle texts = nullptr;
  // While the dialog runs.
  CustomPaperRequest* request = nullptr;
  CustomPaperList list{};
  uint32_t unit = 0;      // shown unit: 0 mm, 1 inch
  bool loading = false;   // the dialog itself writes the fields
  bool dirty = false;     // the user changed a field since the last load or save

  template <typename F>
  F Callback(size_t offset) const {
    F f;
    std::memcpy(&f, callbacks + offset, sizeof f);
    return f;
  }
  std::wstring Text(uint32_t id) const {
    if (!difm.DifmGetRealDataStr || !texts) return {};
    char16_t buffer[512] = {};
    uint32_t bytes = sizeof buffer - 2;
    difm.DifmGetRealDataStr(texts, id, buffer, &bytes);
    return std::wstring(reinterpret_cast<const wchar_t*>(buffer));
  }
  PaperInfo& Record(int item) const { return list.papers[list.firstUser - 1 + uint32_t(item)]; }
  int Items() const { return int(list.count - (list.firstUser - 1)); }
};

std::wstring FolderOfModule() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(g_instance, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\'));
}

void MapTexts(Ccpd& c) {
  const std::wstring path = FolderOfModule() + L"\\VQ312DI.dll";
  c.deviceModule = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!c.deviceModule) return;
#define VQ_RESOLVE(name, ret, params) \
  c.difm.name = reinterpret_cast<ret(*) params>(reinterpret_cast<void*>(GetProcAddress(c.deviceModule, #name)));
  VQ_DIFM_FUNCTIONS(VQ_RESOLVE)
#undef VQ_RESOLVE
  std::wstring name = L"VQ312CP";
  DWORD needed = 0;
  if (c.printer) {
    GetPrinterW(c.printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    if (needed && GetPrinterW(c.printer, 2, info.data(), needed, &needed))
      if (const wchar_t* n = reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPrinterName) name = n;
  }
  if (c.difm.DifmMapper) c.texts = c.difm.DifmMapper(kDifmMagic, reinterpret_cast<const char16_t*>(name.c_str()));
}

// 0.1 mm with one decimal, 0.01 inch with two, as the user types them.
std::wstring FormatValue(uint32_t v, uint32_t unit) {
  wchar_t text[32];
  if (unit) swprintf(text, 32, L"%u.%02u", v / 100, v % 100);
  else swprintf(text, 32, L"%u.%u", v / 10, v % 10);
  return text;
}

uint32_t ParseValue(const wchar_t* text, uint32_t unit) {
  std::wstring t(text);
  for (wchar_t& ch : t)
    if (ch == L',') ch = L'.';
  const double v = std::wcstod(t.c_str(), nullptr);
  if (!(v > 0)) return 0;
  return uint32_t(std::min(std::llround(v * (unit ? 100 : 10)), 100000LL));
}

PaperInfo InUnit(const PaperInfo& p, uint32_t unit) {
  return (p.paperUnit ? 1u : 0u) == unit ? p : ConvertPaperUnit(p);
}

void ShowPaper(Ccpd& c, HWND dialog, const PaperInfo& paper) {
  c.loading = true;
  const PaperInfo shown = InUnit(paper, c.unit);
  for (const SizeField& f : kFields)
    SetDlgItemTextW(dialog, f.control, FormatValue(shown.*f.field, c.unit).c_str());
  SetDlgItemTextW(dialog, IDC_CP_NAME, reinterpret_cast<const wchar_t*>(paper.paperName));
  c.loading = false;
}

// The paper as the fields show it, on the selected record (or the
// user-defined size for a new paper), in the shown unit.
PaperInfo PaperFromFields(const Ccpd& c, HWND dialog, int item) {
  PaperInfo p = InUnit(c.Record(item < 0 ? 0 : item), c.unit);
  for (const SizeField& f : kFields) {
    wchar_t text[32] = {};
    GetDlgItemTextW(dialog, f.control, text, 32);
    p.*f.field = ParseValue(text, c.unit);
  }
  wchar_t name[64] = {};
  GetDlgItemTextW(dialog, IDC_CP_NAME, name, 64);
  std::memset(p.paperName, 0, sizeof p.paperName);
  std::memcpy(p.paperName, name, std::wcslen(name) * 2);
  p.paperUnit = c.unit;
  if (item != 0) p.paperId = 0;  // numbered by the checks
  return p;
}

int Selected(HWND dialog) { return int(SendDlgItemMessageW(dialog, IDC_CP_LIST, LB_GETCURSEL, 0, 0)); }

void Select(Ccpd& c, HWND dialog, int item) {
  SendDlgItemMessageW(dialog, IDC_CP_LIST, LB_SETCURSEL, WPARAM(item), 0);
  // The user-defined size keeps its name; the delete button has nothing
  // to delete there.
  EnableWindow(GetDlgItem(dialog, IDC_CP_NAME), item != 0);
  EnableWindow(GetDlgItem(dialog, IDC_CP_DELETE), item > 0);
  if (item >= 0) ShowPaper(c, dialog, c.Record(item));
  c.dirty = false;
}

void FillList(Ccpd& c, HWND dialog, int select) {
  HWND list = GetDlgItem(dialog, IDC_CP_LIST);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < c.Items(); ++i)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.Record(i).paperName));
  Select(c, dialog, select < c.Items() ? select : 0);
}

int FindByName(const Ccpd& c, const PaperInfo& paper) {
  for (int i = 0; i < c.Items(); ++i)
    if (std::memcmp(c.Record(i).paperName, paper.paperName, sizeof paper.paperName) == 0) return i;
  return 0;
}

// Stores the fields through the UI module's check. true when stored.
bool Save(Ccpd& c, HWND dialog, BOOL noConfirmation) {
  const auto validate = c.Callback<ValidateFn>(kCallbackValidateOffset);
  if (!validate) return false;
  const int item = Selected(dialog);
  PaperInfo paper = PaperFromFields(c, dialog, item);
  PaperInfo other = ConvertPaperUnit(paper);
  const DWORD result = validate(dialog, GetDlgItem(dialog, IDC_CP_NAME), &paper, &other, &c.list,
                                noConfirmation);
  if (result != kPaperStoredNew && result != kPaperStoredOver) {
    // A range the check set back shows at once; the name stays as typed.
    wchar_t name[64] = {};
    GetDlgItemTextW(dialog, IDC_CP_NAME, name, 64);
    ShowPaper(c, dialog, paper);
    SetDlgItemTextW(dialog, IDC_CP_NAME, name);
    return false;
  }
  c.request->count = c.list.count;
  FillList(c, dialog, FindByName(c, paper));
  return true;
}

void Delete(Ccpd& c, HWND dialog) {
  const auto confirm = c.Callback<DeleteFn>(kCallbackDeleteOffset);
  const int item = Selected(dialog);
  if (!confirm || item <= 0) return;
  const PaperInfo paper = c.Record(item);
  if (confirm(dialog, &paper, &c.list) != kPaperDeleted) return;
  c.request->count = c.list.count;
  FillList(c, dialog, 0);
}

void ShowHelp(const Ccpd& c, HWND dialog) {
  const wchar_t* topic = c.Callback<const wchar_t*>(kCallbackHelpTopicOffset);
  DWORD needed = 0;
  GetPrinterDriverW(c.printer, nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  if (!topic || !needed || !GetPrinterDriverW(c.printer, nullptr, 3, info.data(), needed, &needed)) return;
  const wchar_t* file = reinterpret_cast<DRIVER_INFO_3W*>(info.data())->pHelpFile;
  HMODULE hh = LoadLibraryW(L"hhctrl.ocx");
  using HtmlHelpFn = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);
  const auto htmlHelp = hh ? reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(
                                 GetProcAddress(hh, MAKEINTRESOURCEA(15))))
                           : nullptr;
  if (file && htmlHelp) htmlHelp(dialog, (std::wstring(file) + topic).c_str(), 0 /* HH_DISPLAY_TOPIC */, 0);
}

void OnInit(Ccpd& c, HWND dialog) {
  SetWindowTextW(dialog, c.Text(kTitleText).c_str());
  for (const auto& l : kLabels) SetDlgItemTextW(dialog, l.control, c.Text(l.text).c_str());
  for (const SizeField& f : kFields) {
    SetDlgItemTextW(dialog, f.control + 100, c.Text(f.caption).c_str());
    SendDlgItemMessageW(dialog, f.control, EM_LIMITTEXT, 7, 0);
  }
  SendDlgItemMessageW(dialog, IDC_CP_NAME, EM_LIMITTEXT, 63, 0);
  const CustomPaperRequest& r = *c.request;
  // Side margins down to 2.5 mm on the layouts that allow narrow margins,
  // when the printer takes them.
  const bool narrowAllowed = c.haveLimits && c.limits[kLimitsNarrowFlagA] == 11;
  c.list = {r.papers, r.count, r.firstUser, r.userMax, narrowAllowed ? kListLowSideMargins : 0u};
  c.unit = r.measureUnit ? 1 : 0;
  CheckRadioButton(dialog, IDC_CP_MM, IDC_CP_INCH, c.unit ? IDC_CP_INCH : IDC_CP_MM);
  int select = 0;
  for (int i = 0; i < c.Items(); ++i)
    if (c.Record(i).paperId == r.currentPaper) select = i;
  FillList(c, dialog, select);
}

bool OnCommand(Ccpd& c, HWND dialog, int id, int code) {
  switch (id) {
    case IDC_CP_LIST:
      if (code == LBN_SELCHANGE) Select(c, dialog, Selected(dialog));
      return true;
    case IDC_CP_NEW:
      Select(c, dialog, -1);
      EnableWindow(GetDlgItem(dialog, IDC_CP_NAME), TRUE);
      SetDlgItemTextW(dialog, IDC_CP_NAME, L"");
      SetFocus(GetDlgItem(dialog, IDC_CP_NAME));
      c.dirty = true;
      return true;
    case IDC_CP_DELETE:
      Delete(c, dialog);
      return true;
    case IDC_CP_SAVE:
      Save(c, dialog, FALSE);
      return true;
    case IDC_CP_MM:
    case IDC_CP_INCH: {
      const uint32_t unit = id == IDC_CP_INCH ? 1 : 0;
      if (code != BN_CLICKED || unit == c.unit) return true;
      // The fields are converted, not reloaded: what was typed stays.
      const bool dirty = c.dirty;
      PaperInfo shown = PaperFromFields(c, dialog, Selected(dialog));
      c.unit = unit;
      wchar_t name[64] = {};
      GetDlgItemTextW(dialog, IDC_CP_NAME, name, 64);
      ShowPaper(c, dialog, shown);
      SetDlgItemTextW(dialog, IDC_CP_NAME, name);
      c.dirty = dirty;
      return true;
    }
    case IDC_CP_HELP:
      ShowHelp(c, dialog);
      return true;
    case IDOK: {
      // Unsaved changes are stored first, without the "new entry?" question.
      if (c.dirty && !Save(c, dialog, TRUE)) return true;
      const int item = Selected(dialog);
      c.request->paper = c.Record(item < 0 ? 0 : item);
      c.request->measureUnit = c.unit;
      EndDialog(dialog, 1);
      return true;
    }
    case IDCANCEL:
      EndDialog(dialog, 0);
      return true;
    default:
      if (code == EN_CHANGE && !c.loading) c.dirty = true;
      return false;
  }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* c = reinterpret_cast<Ccpd*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!c) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      OnInit(*c, dialog);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(*c, dialog, LOWORD(wParam), HIWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_instance = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HANDLE WINAPI OpenCCPD(HWND page, HANDLE printer, const PaperInfo* current,
                                  const void* callbacks) noexcept {
  if (!current || !callbacks) return nullptr;
  auto* c = new (std::nothrow) Ccpd;
  if (!c) return nullptr;
  c->page = page;
  c->printer = printer;
  c->current = *current;
  std::memcpy(c->callbacks, callbacks, kCallbacksSize);
  MapTexts(*c);
  return c;
}

extern "C" BOOL WINAPI SetCCPDPaperTypeInfo(HANDLE dialog, DWORD groups, DWORD count,
                                            const uint32_t* limits) noexcept {
  auto* c = static_cast<Ccpd*>(dialog);
  if (!c || !limits || groups == 0 || count == 0) return FALSE;
  std::memcpy(c->limits, limits, sizeof c->limits);
  c->haveLimits = true;
  return TRUE;
}

extern "C" BOOL WINAPI DispCCPD(HANDLE dialog, CustomPaperRequest* request, DWORD) noexcept {
  auto* c = static_cast<Ccpd*>(dialog);
  if (!c || !request || !request->papers || request->firstUser == 0 ||
      request->count < request->firstUser)
    return FALSE;
  c->request = request;
  const INT_PTR result = DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_CCPD),
                                         static_cast<HWND>(request->pageWindow), DialogProc,
                                         reinterpret_cast<LPARAM>(c));
  c->request = nullptr;
  return result == 1;
}

extern "C" void WINAPI CloseCCPD(HANDLE dialog) noexcept {
  auto* c = static_cast<Ccpd*>(dialog);
  if (!c) return;
  if (c->texts && c->difm.DifmUnMapper) c->difm.DifmUnMapper(kDifmMagic, c->texts);
  if (c->deviceModule) FreeLibrary(c->deviceModule);
  delete c;
}
