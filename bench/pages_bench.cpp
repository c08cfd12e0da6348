// The cut settings, overlay forms and advanced pages under Wine and Xvfb:
//
// 1. Walking the three pages (each shown in turn, which creates it) in
//    Printing Preferences, against the same three page templates with empty
//    procedures in the same host: the driver's own share.
// 2. Choosing a form on the overlay page (the path typed into the field:
//    the file read whole, its facts shown, its thumbnail decoded and drawn),
//    for the largest sample form, against reading the file's bytes.
//
// Both run on the sheet's own thread, without message hooks (see
// sheet_bench.cpp), interleaved with their baselines; medians of 9.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/ddk_win.h"
#include "pages/page_layouts.h"
#include "tests/wine/installed_printer.h"
#include "tools/sheet_host/sheet_host_win.h"

using namespace vq;
using namespace vq::wine;

namespace {

constexpr int kFirstPage = 2, kLastPage = 4;  // cut, overlay, advanced

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * double(c.QuadPart) / double(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double g_walk = 0, g_choose = 0, g_typed = 0, g_infoText = 0, g_pathText = 0;
double g_step[kLastPage + 1] = {};
std::wstring g_form;

// The texts and places of every control of the driver's pages as the user
// sees them, taken once, so that the bare templates can be made to show the
// same: the floor of any page that shows those texts at those places.
struct Shown {
  int id;
  std::wstring text;
  RECT place;
};
std::vector<Shown> g_shown[kLastPage + 1];
bool g_copyShown = false;  // the bare pages take on what the driver's showed

void TakeShown(HWND sheet) {
  for (int i = kFirstPage; i <= kLastPage; ++i) {
    SendMessageW(sheet, PSM_SETCURSEL, i, 0);
    const HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    g_shown[i].clear();
    for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      Shown s{GetDlgCtrlID(c), {}, {}};
      wchar_t text[512] = {};
      GetWindowTextW(c, text, 512);
      s.text = text;
      GetWindowRect(c, &s.place);
      MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&s.place), 2);
      g_shown[i].push_back(s);
    }
  }
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void WalkPages(HWND sheet) {
  const double start = Now();
  for (int i = kFirstPage; i <= kLastPage; ++i) {
    const double before = Now();
    SendMessageW(sheet, PSM_SETCURSEL, i, 0);
    g_step[i] = Now() - before;
  }
  g_walk = Now() - start;
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void ChooseForm(HWND sheet) {
  SendMessageW(sheet, PSM_SETCURSEL, 3, 0);
  const HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  const HWND thumbnail = GetDlgItem(page, IDC_OVERLAY_THUMBNAIL);
  SetDlgItemTextW(page, IDC_OVERLAY_USE_PATH, L"");
  RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const double start = Now();
  SetDlgItemTextW(page, IDC_OVERLAY_USE_PATH, g_form.c_str());
  g_typed = Now() - start;
  RedrawWindow(thumbnail, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  g_choose = Now() - start;
  // What the facts' box costs on its own: the same text set into it again.
  wchar_t facts[2048] = {};
  GetDlgItemTextW(page, IDC_OVERLAY_FORM_INFO, facts, 2048);
  const double before = Now();
  SetDlgItemTextW(page, IDC_OVERLAY_FORM_INFO, facts);
  g_infoText = Now() - before;
  // And the path typed into a plain edit of the field's size and font.
  const HWND field = GetDlgItem(page, IDC_OVERLAY_USE_PATH);
  RECT fr{};
  GetWindowRect(field, &fr);
  const HWND plain = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0,
                                     fr.right - fr.left, fr.bottom - fr.top, page, nullptr, nullptr, nullptr);
  SendMessageW(plain, WM_SETFONT, SendMessageW(field, WM_GETFONT, 0, 0), FALSE);
  const double typing = Now();
  SetWindowTextW(plain, g_form.c_str());
  g_pathText = Now() - typing;
  DestroyWindow(plain);
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

INT_PTR CALLBACK EmptyPage(HWND page, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != WM_INITDIALOG) return FALSE;
  const auto index = reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam;
  if (!g_copyShown || index < kFirstPage || index > kLastPage) return TRUE;
  // Each control's help as a tooltip, as the driver's pages carry them.
  const HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, page, nullptr, nullptr, nullptr);
  for (const Shown& s : g_shown[index]) {
    const HWND c = GetDlgItem(page, s.id);
    if (!c) continue;
    SetWindowTextW(c, s.text.c_str());
    SetWindowPos(c, nullptr, s.place.left, s.place.top, s.place.right - s.place.left,
                 s.place.bottom - s.place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = page;
    ti.uId = reinterpret_cast<UINT_PTR>(c);
    ti.lpszText = const_cast<wchar_t*>(L"What this control does, in a sentence or two of help text.");
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  return TRUE;
}

HMODULE g_ui = nullptr;
HANDLE g_actCtx = INVALID_HANDLE_VALUE;
LONG WINAPI TemplatesOnly(PPROPSHEETUI_INFO info, LPARAM) {
  if (info->Reason != PROPSHEETUI_REASON_INIT) return 1;
  LPARAM index = 0;
  for (uint32_t id : {pages::kDialogBasic, pages::kDialogColour, pages::kDialogCut,
                      pages::kDialogOverlay, pages::kDialogAdvanced}) {
    PROPSHEETPAGEW psp{};
    psp.dwSize = sizeof psp;
    psp.dwFlags = g_actCtx != INVALID_HANDLE_VALUE ? PSP_USEFUSIONCONTEXT : 0;
    psp.hInstance = g_ui;
    psp.pszTemplate = MAKEINTRESOURCEW(id);
    psp.pfnDlgProc = EmptyPage;
    psp.lParam = index++;  // the page's place in the sheet
    psp.hActCtx = g_actCtx;
    info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                          reinterpret_cast<LPARAM>(&psp), 0);
  }
  return 1;
}

HANDLE ManifestContext(HMODULE module) {
  wchar_t source[MAX_PATH + 16] = {};
  GetModuleFileNameW(module, source, MAX_PATH);
  wcscat(source, L".manifest");
  ACTCTXW act{};
  act.cbSize = sizeof act;
  act.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  act.lpResourceName = MAKEINTRESOURCEW(1);
  act.lpSource = source;
  return CreateActCtxW(&act);
}

double ReadFileBytes(const std::wstring& path) {
  const double start = Now();
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size{};
  GetFileSizeEx(f, &size);
  std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(f);
  return Now() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: pages_bench FORM.ofe   (the largest sample form)\n");
    return 2;
  }
  g_form = argv[1];
  std::replace(g_form.begin(), g_form.end(), L'/', L'\\');
  Printer printer;
  HMODULE ui = LoadInstalledModule(L"VQ312UI.dll");
  auto sheets = ui ? Export<host::SheetEntry>(ui, "DrvDocumentPropertySheets") : nullptr;
  if (!printer || !sheets) {
    std::printf("pages_bench: the driver is not installed\n");
    return 1;
  }
  JobSettings in{}, out{};
  DocumentProperties(printer.get(), nullptr, &in, DM_OUT_BUFFER);
  DOCUMENTPROPERTYHEADER header{sizeof header, 0, printer.get(), const_cast<wchar_t*>(kPrinterName),
                                reinterpret_cast<DEVMODEW*>(&in), reinterpret_cast<DEVMODEW*>(&out),
                                sizeof out, DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER};
  g_ui = ui;
  g_actCtx = ManifestContext(ui);
  host::RunSheet(sheets, &header, L"pages bench", nullptr, WalkPages);  // loads what loads once
  host::RunSheet(sheets, &header, L"pages bench", nullptr, TakeShown);

  std::vector<double> driver, templates;
  std::vector<double> driverStep[kLastPage + 1], templateStep[kLastPage + 1], shownSteps;
  for (int i = 0; i < 9; ++i) {
    g_copyShown = true;
    host::RunSheet(TemplatesOnly, nullptr, L"pages bench", nullptr, WalkPages);
    shownSteps.push_back(g_walk);
    g_copyShown = false;
    host::RunSheet(sheets, &header, L"pages bench", nullptr, WalkPages);
    driver.push_back(g_walk);
    for (int p = kFirstPage; p <= kLastPage; ++p) driverStep[p].push_back(g_step[p]);
    host::RunSheet(TemplatesOnly, nullptr, L"pages bench", nullptr, WalkPages);
    templates.push_back(g_walk);
    for (int p = kFirstPage; p <= kLastPage; ++p) templateStep[p].push_back(g_step[p]);
  }
  const double d = Median(driver), t = Median(templates);
  std::printf("cut, overlay and advanced pages shown in turn: driver %.1f ms, bare templates %.1f ms "
              "(medians of 9): %.2fx (target at most 1.3x)\n", d, t, d / t);
  const double shown = Median(shownSteps);
  std::printf("  floor, the bare templates showing the driver's texts at its places, a tooltip on each control: "
              "%.1f ms (%.2fx bare); "
              "the driver is %.2fx its floor\n", shown, shown / t, d / shown);
  // Where the driver's share goes, page by page.
  const char* names[kLastPage + 1] = {"", "", "cut", "overlay", "advanced"};
  for (int p = kFirstPage; p <= kLastPage; ++p) {
    const double dp = Median(driverStep[p]), tp = Median(templateStep[p]);
    std::printf("  %-8s driver %.1f ms, bare %.1f ms: %.2fx\n", names[p], dp, tp, dp / tp);
  }

  // The overlay on, in use mode, thumbnail shown, the form already the
  // record's (so that Cancel has nothing to complain about): the field is
  // emptied, then the path typed in is the choice.
  in.OverlayMode = 0x80000002;
  in.OverlayPreview = 1;
  std::memset(in.OverlayPath, 0, sizeof in.OverlayPath);
  std::memcpy(in.OverlayPath, g_form.c_str(), std::min<size_t>(g_form.size(), 259) * 2);
  std::vector<double> choose, typed, read, infoText, pathText;
  for (int i = 0; i < 9; ++i) {
    host::RunSheet(sheets, &header, L"pages bench", nullptr, ChooseForm);
    choose.push_back(g_choose);
    typed.push_back(g_typed);
    infoText.push_back(g_infoText);
    pathText.push_back(g_pathText);
    read.push_back(ReadFileBytes(g_form));
  }
  const double c = Median(choose), r = Median(read);
  std::printf("choosing the form (read, facts, thumbnail decoded and drawn): %.3f ms; reading its "
              "bytes: %.3f ms (medians of 9): %.1fx (target at most 4x)\n", c, r, c / r);
  std::printf("  of which the path taken (file read, facts shown): %.3f ms; the thumbnail drawn: %.3f ms\n",
              Median(typed), c - Median(typed));
  // Under Wine an edit control lays its text out when it is set: showing the
  // path and the form's facts costs that much before the driver does anything.
  const double floor = Median(infoText) + Median(pathText);
  std::printf("  floor, the facts' text set into its box alone %.3f ms + the path into a plain edit %.3f ms:"
              " %.3f ms; the choice is %.2fx its floor\n", Median(infoText), Median(pathText), floor, c / floor);
  if (g_actCtx != INVALID_HANDLE_VALUE) ReleaseActCtx(g_actCtx);
  FreeLibrary(ui);
  return 0;
}
