// How long Printing Preferences takes to open: from the driver's INIT to the
// WM_INITDIALOG of its last page (each page is shown in turn, the way a user
// clicking through the tabs creates them), against the host's own floor: the
// same host showing one empty page. Prints both and the ratio, and for each
// page the time to create it against its bare template (the same template
// with an empty procedure) in the same run: the driver's own share per page.
//
// No message hooks: a thread hook costs Wine three server round trips for
// every message sent, which would weigh on the driver's ~150 controls far
// more than on the empty page. The pages are selected one after the other
// on the sheet's own thread as soon as the sheet has initialised; selecting
// a page creates it, so each selection returns after its WM_INITDIALOG.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "base/ddk_win.h"
#include "bench/bench_win.h"
#include "tests/wine/installed_printer.h"
#include "tools/sheet_host/sheet_host_win.h"

using namespace vq;
using namespace vq::bench;
using namespace vq::wine;

namespace {

LARGE_INTEGER g_start, g_end;
std::vector<LARGE_INTEGER> g_marks;  // after the sheet was ready, then after each page

double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}


void ShowEveryPage(HWND sheet) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  g_marks.push_back(now);
  const int count = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet));
  for (int i = 1; i < count; ++i) {
    SendMessageW(sheet, PSM_SETCURSEL, i, 0);
    QueryPerformanceCounter(&now);
    g_marks.push_back(now);
  }
  g_end = now;
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

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

struct Opening {
  double total = -1;          // INIT began to the last page's WM_INITDIALOG
  std::vector<double> pages;  // each page's creation: the first from INIT's return
};

Opening TimeSheet(host::SheetEntry entry, void* header) {
  g_marks.clear();
  g_end.QuadPart = 0;
  TimeEntry(entry);
  QueryPerformanceCounter(&g_start);
  host::RunSheet(TimedEntry, header, L"sheet bench", nullptr, ShowEveryPage);
  Opening o;
  if (!g_end.QuadPart) return o;
  o.total = Ms(g_start, g_end);
  LARGE_INTEGER from = InitReturned();
  for (const LARGE_INTEGER& mark : g_marks) {
    o.pages.push_back(Ms(from, mark));
    from = mark;
  }
  return o;
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

  // The driver's own page templates with nothing behind them: the driver's
  // time less theirs is what its own code adds.
  UseTemplatesOf(ui);
  TimeSheet(sheets, &header);  // the first opening loads the sibling modules
  TimeSheet(sheets, &header);
  std::printf("one opening, ms after INIT began: INIT returned %.1f, sheet ready %.1f, each further "
              "page shown:", Ms(g_start, InitReturned()), Ms(g_start, g_marks[0]));
  for (size_t i = 1; i < g_marks.size(); ++i) std::printf(" %.1f", Ms(g_start, g_marks[i]));
  std::printf("\n");
  // Interleaved, so that a busy moment of the machine falls on all three.
  constexpr int kRuns = 9;
  std::vector<Opening> driver, templates;
  std::vector<double> floor;
  for (int i = 0; i < kRuns; ++i) {
    driver.push_back(TimeSheet(sheets, &header));
    floor.push_back(TimeSheet(EmptySheet, nullptr).total);
    templates.push_back(TimeSheet(BareTemplates, nullptr));
  }
  auto median = [](const std::vector<Opening>& runs, int page) {
    std::vector<double> v;
    for (const Opening& o : runs)
      v.push_back(page < 0 ? o.total : page < int(o.pages.size()) ? o.pages[page] : -1);
    return Median(v);
  };
  const double d = median(driver, -1), f = Median(floor), t = median(templates, -1);
  std::printf("Printing Preferences, INIT to the last of %d pages' WM_INITDIALOG: %6.1f ms (median of %d)\n",
              pages, d, kRuns);
  std::printf("one empty page in the same host (floor):                      %6.1f ms\n", f);
  std::printf("the same page templates with empty procedures, no INIT:       %6.1f ms\n", t);
  std::printf("ratio: %.2fx the floor (targets: under 150 ms, under 3x); the templates alone are "
              "%.2fx the floor, the driver's own work %.2fx the templates\n",
              d / f, t / f, d / t);
  static const char* const kNames[] = {"basic", "colour", "cut", "overlay", "advanced"};
  std::printf("each page created, driver against its bare template (medians, ms):\n");
  for (int page = 0; page < pages; ++page) {
    const double dp = median(driver, page), tp = median(templates, page);
    std::printf("  %-9s %6.1f against %6.1f: %.2fx%s\n", kNames[page], dp, tp, dp / tp,
                page == 0 ? " (with the sheet frame)" : "");
  }
  std::printf("all pages walked: %.2fx the bare templates (target: no more than 1.18-1.32x)\n", d / t);
  FreeLibrary(ui);
  return 0;
}
