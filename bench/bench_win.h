// What the sheet and page benchmarks share: a millisecond clock, medians,
// and the driver's page templates shown with empty procedures, the baseline
// a page is measured against (what Wine's controls cost by themselves, in
// the same host and activation context as the driver's pages).
#pragma once

#include <windows.h>
#include <prsht.h>

#include <vector>

#include "base/ddk_win.h"
#include "tools/sheet_host/sheet_host_win.h"

namespace vq::bench {

double NowMs();
double Median(std::vector<double> v);

// A page procedure that does nothing but accept WM_INITDIALOG.
INT_PTR CALLBACK EmptyPage(HWND, UINT msg, WPARAM, LPARAM);

// The five document page templates of `ui` with EmptyPage behind them, in
// the activation context of ui's manifest: UseTemplatesOf(ui) once, then
// BareTemplates as the sheet entry.
void UseTemplatesOf(HMODULE ui);
LONG WINAPI BareTemplates(PPROPSHEETUI_INFO info, LPARAM);
// The procedure BareTemplates puts behind its pages (EmptyPage until set);
// each page's PROPSHEETPAGE lParam is its place in the sheet.
void UseBareProcedure(DLGPROC procedure);

// A sheet entry run through TimedEntry after TimeEntry(entry): the moment
// its INIT returned is kept (QueryPerformanceCounter).
void TimeEntry(host::SheetEntry entry);
LONG WINAPI TimedEntry(PPROPSHEETUI_INFO info, LPARAM lParam);
LARGE_INTEGER InitReturned();

}  // namespace vq::bench
