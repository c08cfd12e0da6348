// How long Printing Preferences takes to open: from the driver's INIT to the
// WM_INITDIALOG of its last page (each page is shown in turn, the way a user
// clicking through the tabs creates them), against the host's own floor: the
// same host showing one empty page. Prints both and the ratio.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "entry/ddk_win.h"
#include "tests/wine/installed_printer.h"
#include "tools/sheet_host/sheet_host_win.h"

using namespace vq;
using namespace vq::wine;

namespace {

LARGE_INTEGER g_start, g_end;
std::vector<LARGE_INTEGER> g_marks;
int g_inits = 0, g_pagesExpected = 0;
HHOOK g_hook = nullptr, g_before = nullptr;
LARGE_INTEGER g_initEntered;
double g_inInit = 0;  // time spent inside the pages' own WM_INITDIALOG handling

LRESULT CALLBACK MarkInitEntry(int code, WPARAM wp, LPARAM lp) {
  const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && msg->message == WM_INITDIALOG) QueryPerformanceCounter(&g_initEntered);
  return CallNextHookEx(g_before, code, wp, lp);
}

double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

// Every page's WM_INITDIALOG passes here; after one, the next page is
// selected, and after the last the time is taken and the sheet closed.
LRESULT CALLBACK WatchInits(int code, WPARAM wp, LPARAM lp) {
  const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lp);
  if (code == HC_ACTION && msg->message == WM_INITDIALOG) {
    HWND sheet = GetParent(msg->hwnd);
    if (sheet && PropSheet_GetTabControl(sheet)) {
      LARGE_INTEGER now;
      QueryPerformanceCounter(&now);
      g_inInit += Ms(g_initEntered, now);
      g_marks.push_back(now);
      if (++g_inits == g_pagesExpected) {
        QueryPerformanceCounter(&g_end);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      } else {
        PostMessageW(sheet, PSM_SETCURSEL, g_inits, 0);
      }
    }
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

INT_PTR CALLBACK EmptyPage(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// The floor: the host's own work for one page with nothing on it.
LONG WINAPI EmptySheet(PPROPSHEETUI_INFO info, LPARAM) {
  if (info->Reason != PROPSHEETUI_REASON_INIT) return 1;
  struct alignas(4) {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } static const empty = {{WS_CHILD | WS_CAPTION, 0, 0, 0, 0, 393, 263}, 0, 0, 0};
  PROPSHEETPAGEW psp{};
  psp.dwSize = sizeof psp;
  psp.dwFlags = PSP_DLGINDIRECT;
  psp.pResource = &empty.t;
  psp.pfnDlgProc = EmptyPage;
  info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&psp), 0);
  return 1;
}

double TimeSheet(host::SheetEntry entry, void* header, int pages) {
  g_inits = 0;
  g_pagesExpected = pages;
  g_end.QuadPart = 0;
  QueryPerformanceCounter(&g_start);
  host::RunSheet(entry, header, L"sheet bench", nullptr);
  return g_end.QuadPart ? Ms(g_start, g_end) : -1;
}

}  // namespace

int wmain() {
  Printer printer;
  HMODULE ui = LoadInstalledModule(L"VQ312UI.dll");
  auto sheets = ui ? reinterpret_cast<host::SheetEntry>(
                         reinterpret_cast<void*>(GetProcAddress(ui, "DrvDocumentPropertySheets")))
                   : nullptr;
  if (!printer || !sheets) {
    std::printf("sheet_bench: the driver is not installed\n");
    return 1;
  }
  JobSettings in{}, out{};
  DocumentProperties(printer.get(), nullptr, &in, DM_OUT_BUFFER);
  DOCUMENTPROPERTYHEADER header{sizeof header, 0, printer.get(), const_cast<wchar_t*>(kPrinterName),
                                reinterpret_cast<DEVMODEW*>(&in), reinterpret_cast<DEVMODEW*>(&out),
                                sizeof out, DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER};
  DWORD printLayout = 0, type, needed;
  GetPrinterDataW(printer.get(), const_cast<wchar_t*>(L"APUI_DWPRINTLAYOUT"), &type,
                  reinterpret_cast<BYTE*>(&printLayout), 4, &needed);
  const int pages = printLayout ? 5 : 4;

  g_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchInits, nullptr, GetCurrentThreadId());
  g_before = SetWindowsHookExW(WH_CALLWNDPROC, MarkInitEntry, nullptr, GetCurrentThreadId());
  TimeSheet(sheets, &header, pages);  // the first opening loads the sibling modules
  g_marks.clear();
  g_inInit = 0;
  TimeSheet(sheets, &header, pages);
  std::printf("of which in the pages' own WM_INITDIALOG handling: %.1f ms\n", g_inInit);
  std::printf("page inits after INIT (ms):");
  for (const LARGE_INTEGER& m : g_marks) std::printf(" %.1f", Ms(g_start, m));
  std::printf("\n");
  std::vector<double> driver, floor;
  for (int i = 0; i < 7; ++i) {
    driver.push_back(TimeSheet(sheets, &header, pages));
    floor.push_back(TimeSheet(EmptySheet, nullptr, 1));
  }
  UnhookWindowsHookEx(g_hook);
  UnhookWindowsHookEx(g_before);
  std::sort(driver.begin(), driver.end());
  std::sort(floor.begin(), floor.end());
  const double d = driver[driver.size() / 2], f = floor[floor.size() / 2];
  std::printf("Printing Preferences, INIT to the last of %d pages' WM_INITDIALOG: %.1f ms (median of 7)\n",
              pages, d);
  std::printf("one empty page in the same host (floor):                   %.1f ms\n", f);
  std::printf("ratio: %.2fx the floor (targets: under 150 ms, under 3x)\n", d / f);
  FreeLibrary(ui);
  return 0;
}
