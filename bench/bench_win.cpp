#include "bench/bench_win.h"

#include <algorithm>
#include <string>

#include "base/activation_win.h"
#include "pages/page_layouts.h"

namespace vq::bench {
namespace {

HMODULE g_ui = nullptr;
SheetActivationContext g_actCtx;
host::SheetEntry g_entry = nullptr;
DLGPROC g_bareProcedure = EmptyPage;
LARGE_INTEGER g_initReturned{};

}  // namespace

double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * double(c.QuadPart) / double(f.QuadPart);
}

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

INT_PTR CALLBACK EmptyPage(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

void UseTemplatesOf(HMODULE ui) {
  g_ui = ui;
  wchar_t file[MAX_PATH] = {};
  GetModuleFileNameW(ui, file, MAX_PATH);
  g_actCtx.Create((std::wstring(file) + L".manifest").c_str());
}

void UseBareProcedure(DLGPROC procedure) { g_bareProcedure = procedure; }

LONG WINAPI BareTemplates(PPROPSHEETUI_INFO info, LPARAM) {
  if (info->Reason != PROPSHEETUI_REASON_INIT) return 1;
  LPARAM place = 0;
  for (uint32_t id : {pages::kDialogBasic, pages::kDialogColour, pages::kDialogCut,
                      pages::kDialogOverlay, pages::kDialogAdvanced}) {
    PROPSHEETPAGEW psp{};
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_USEFUSIONCONTEXT;
    psp.hInstance = g_ui;
    psp.pszTemplate = MAKEINTRESOURCEW(id);
    psp.pfnDlgProc = g_bareProcedure;
    psp.lParam = place++;
    psp.hActCtx = g_actCtx.handle();
    info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                          reinterpret_cast<LPARAM>(&psp), 0);
  }
  return 1;
}

void TimeEntry(host::SheetEntry entry) { g_entry = entry; }

LONG WINAPI TimedEntry(PPROPSHEETUI_INFO info, LPARAM lParam) {
  const LONG rc = g_entry(info, lParam);
  if (info && info->Reason == PROPSHEETUI_REASON_INIT) QueryPerformanceCounter(&g_initReturned);
  return rc;
}

LARGE_INTEGER InitReturned() { return g_initReturned; }

}  // namespace vq::bench
