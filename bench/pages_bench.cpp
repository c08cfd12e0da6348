// The pages under Wine and Xvfb, each against a baseline of the same run:
//
// 1. Opening Printing Preferences to the basic page, its lists filled and
//    its preview drawn (the sheet painted whole), against the same sheet
//    with the bare page templates (empty procedures), painted the same way.
// 2. The basic page's preview redrawn after a paper change, against a
//    BitBlt of the same two rectangles.
// 3. The basic page's paper list filled with 20 user papers in the table
//    (the table read from printer data, the list rules, the combo box
//    filled), against the printer-data reads alone.
// 4. Walking the cut, overlay and advanced pages (each shown in turn, which
//    creates it), against the same page templates with empty procedures.
// 5. Choosing a form on the overlay page (the path typed into the field:
//    the file read whole, its facts shown, its thumbnail decoded and drawn),
//    for the largest sample form, against reading the file's bytes.
//
// All run on the sheet's own thread, without message hooks (see
// sheet_bench.cpp), interleaved with their baselines; medians of 9.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/ddk_win.h"
#include "bench/bench_win.h"
#include "pages/basic/basic_page_win.h"
#include "pages/basic/custom_paper.h"
#include "pages/basic/favourites.h"
#include "uicore/messages_win.h"
#include "pages/page_layouts.h"
#include "settings/printer_store_win.h"
#include "tests/wine/installed_printer.h"
#include "uicore/page_preview_win.h"
#include "tools/sheet_host/sheet_host_win.h"

using namespace vq;
using namespace vq::bench;
using namespace vq::wine;

namespace {

constexpr int kFirstPage = 2, kLastPage = 4;  // cut, overlay, advanced

double g_walk = 0, g_choose = 0, g_typed = 0, g_infoText = 0, g_pathText = 0;
double g_step[kLastPage + 1] = {};
std::wstring g_form;

// The texts and places of every control of the driver's pages as the user
// sees them, taken once, so that the bare templates can be made to show the
// same: with a tooltip on each control, the floor of any page that shows
// those texts at those places.
struct Shown {
  int id;
  std::wstring text;
  RECT place;
};
std::vector<Shown> g_shown[kLastPage + 1];

void TakeShown(HWND sheet) {
  for (int i = 0; i <= kLastPage; ++i) {
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

INT_PTR CALLBACK ShownPage(HWND page, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != WM_INITDIALOG) return FALSE;
  const auto place = reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam;
  if (place < 0 || place > kLastPage) return TRUE;
  const HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, page, nullptr, nullptr, nullptr);
  for (const Shown& s : g_shown[place]) {
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

void WalkPages(HWND sheet) {
  const double start = NowMs();
  for (int i = kFirstPage; i <= kLastPage; ++i) {
    const double before = NowMs();
    SendMessageW(sheet, PSM_SETCURSEL, i, 0);
    g_step[i] = NowMs() - before;
  }
  g_walk = NowMs() - start;
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void ChooseForm(HWND sheet) {
  SendMessageW(sheet, PSM_SETCURSEL, 3, 0);
  const HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  const HWND thumbnail = GetDlgItem(page, IDC_OVERLAY_THUMBNAIL);
  SetDlgItemTextW(page, IDC_OVERLAY_USE_PATH, L"");
  RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const double start = NowMs();
  SetDlgItemTextW(page, IDC_OVERLAY_USE_PATH, g_form.c_str());
  g_typed = NowMs() - start;
  RedrawWindow(thumbnail, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  g_choose = NowMs() - start;
  // What the facts' box costs on its own: the same text set into it again.
  wchar_t facts[2048] = {};
  GetDlgItemTextW(page, IDC_OVERLAY_FORM_INFO, facts, 2048);
  const double before = NowMs();
  SetDlgItemTextW(page, IDC_OVERLAY_FORM_INFO, facts);
  g_infoText = NowMs() - before;
  // And the path typed into a plain edit of the field's size and font.
  const HWND field = GetDlgItem(page, IDC_OVERLAY_USE_PATH);
  RECT fr{};
  GetWindowRect(field, &fr);
  const HWND plain = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0,
                                     fr.right - fr.left, fr.bottom - fr.top, page, nullptr, nullptr, nullptr);
  SendMessageW(plain, WM_SETFONT, SendMessageW(field, WM_GETFONT, 0, 0), FALSE);
  const double typing = NowMs();
  SetWindowTextW(plain, g_form.c_str());
  g_pathText = NowMs() - typing;
  DestroyWindow(plain);
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// --- The basic page -------------------------------------------------------

double g_opened = 0, g_start = 0, g_preview = 0, g_blit = 0, g_direct = 0;
HMODULE g_rd = nullptr;
const JobSettings* g_record = nullptr;

// The sheet is up with its first page: paint it whole (lists, preview).
void PaintAndCancel(HWND sheet) {
  RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  g_opened = NowMs() - g_start;
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// A BitBlt of a control's client area from a memory bitmap: the least a
// redraw of that rectangle can cost.
double Blit(HWND control) {
  RECT r{};
  GetClientRect(control, &r);
  HDC dc = GetDC(control);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
  HGDIOBJ old = SelectObject(mem, bitmap);
  PatBlt(mem, 0, 0, r.right, r.bottom, WHITENESS);
  const double start = NowMs();
  BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
  GdiFlush();
  const double took = NowMs() - start;
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(control, dc);
  return took;
}

// The floor of any redraw that goes through WM_PAINT: two owner-drawn
// buttons of the preview's sizes whose WM_DRAWITEM is one BitBlt from a
// ready bitmap, invalidated and updated the way the page's are.
HDC g_ready = nullptr;
LRESULT CALLBACK BlitOwner(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    BitBlt(item->hDC, 0, 0, item->rcItem.right, item->rcItem.bottom, g_ready, 0, 0, SRCCOPY);
    return TRUE;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

double PaintFloor() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = BlitOwner;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"vq312-blit-owner";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 260, 300, nullptr,
                               nullptr, wc.hInstance, nullptr);
  HWND frames[] = {CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 12, 12, 230, 190,
                                   owner, nullptr, nullptr, nullptr),
                   CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 12, 208, 230, 80,
                                   owner, nullptr, nullptr, nullptr)};
  HDC screen = GetDC(owner);
  g_ready = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 230, 190);
  HGDIOBJ old = SelectObject(g_ready, bitmap);
  ReleaseDC(owner, screen);
  UpdateWindow(owner);
  std::vector<double> runs;
  for (int i = 0; i < 9; ++i) {
    for (HWND f : frames) InvalidateRect(f, nullptr, FALSE);
    const double start = NowMs();
    for (HWND f : frames) UpdateWindow(f);
    GdiFlush();
    runs.push_back(NowMs() - start);
  }
  SelectObject(g_ready, old);
  DeleteObject(bitmap);
  DeleteDC(g_ready);
  DestroyWindow(owner);
  return Median(runs);
}

// Two papers of different shape in turn; the second change is timed (the
// preview's bitmaps loaded once before).
void ChangePaper(HWND sheet) {
  const HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const HWND list = GetDlgItem(page, IDC_BASIC_PAPER_LIST);
  const HWND frames[] = {GetDlgItem(page, IDC_BASIC_PAPER_PREVIEW), GetDlgItem(page, IDC_BASIC_ORIENTATION_PICTURE)};
  for (const wchar_t* paper : {L"Label 100 x 50 mm", L"Label 102 x 152 mm (4 x 6 in)"}) {
    SendMessageW(list, CB_SETCURSEL, SendMessageW(list, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(paper)), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_BASIC_PAPER_LIST, CBN_SELCHANGE), LPARAM(list));
    const double start = NowMs();
    for (HWND f : frames) UpdateWindow(f);
    GdiFlush();
    g_preview = NowMs() - start;
  }
  // The same pictures drawn straight onto the frames, past the page's
  // WM_DRAWITEM (what the page adds to the drawing itself).
  if (g_rd && g_record) {
    const double start = NowMs();
    DrawPagePreview(g_rd, page, *g_record, 2);
    GdiFlush();
    g_direct = NowMs() - start;
  }
  g_blit = 0;
  for (HWND f : frames) g_blit += Blit(f);
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// The printer's paper table with `extra` user papers after it (copies of
// the user-defined size, numbered as the custom paper dialog numbers them).
std::vector<PaperInfo> WithUserPapers(std::vector<PaperInfo> table, int extra) {
  const PaperInfo user = table.back();
  for (int i = 0; i < extra; ++i) {
    PaperInfo p = user;
    p.paperId = kFirstUserPaperId + uint32_t(i);
    p.paperWidth = uint32_t(400 + 10 * i);
    const std::wstring name = L"User paper " + std::to_wstring(i + 1);
    std::fill(std::begin(p.paperName), std::end(p.paperName), u'\0');
    std::copy(name.begin(), name.end(), p.paperName);
    table.push_back(p);
  }
  return table;
}

// Where the preview's redraw goes: the whole of each picture drawn into a
// memory bitmap, and its parts alone (the background bitmap loaded and
// stretched, the texts with their turned font).
void PreviewProfile(const JobSettings& js) {
  HMODULE rd = LoadInstalledModule(L"VQ312RD.dll");
  if (!rd) return;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP surface = CreateCompatibleBitmap(screen, 230, 190);
  HGDIOBJ old = SelectObject(mem, surface);
  std::vector<double> sheet, picture, load, stretch, texts;
  for (int i = 0; i < 9; ++i) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hDC = mem;
    item.rcItem = RECT{0, 0, 230, 190};
    item.CtlID = IDC_BASIC_PAPER_PREVIEW;
    double start = NowMs();
    DrawPreviewItem(rd, item, js, 2);
    GdiFlush();
    sheet.push_back(NowMs() - start);
    item.CtlID = IDC_BASIC_ORIENTATION_PICTURE;
    item.rcItem = RECT{0, 0, 230, 80};
    start = NowMs();
    DrawPreviewItem(rd, item, js, 2);
    GdiFlush();
    picture.push_back(NowMs() - start);
    start = NowMs();
    HBITMAP bg = static_cast<HBITMAP>(LoadImageW(rd, MAKEINTRESOURCEW(211), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    load.push_back(NowMs() - start);
    BITMAP bm{};
    GetObjectW(bg, sizeof bm, &bm);
    HDC src = CreateCompatibleDC(mem);
    HGDIOBJ was = SelectObject(src, bg);
    start = NowMs();
    SetStretchBltMode(mem, HALFTONE);
    StretchBlt(mem, 0, 0, 230, 190, src, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    GdiFlush();
    stretch.push_back(NowMs() - start);
    SelectObject(src, was);
    DeleteDC(src);
    DeleteObject(bg);
    start = NowMs();
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfEscapement = lf.lfOrientation = 2700;
    HFONT turned = CreateFontIndirectW(&lf);
    HGDIOBJ font = SelectObject(mem, GetStockObject(DEFAULT_GUI_FONT));
    for (const wchar_t* t : {L"Label 100 x 50 mm", L"103.0mm"}) {
      TextOutW(mem, 117, 12, t, int(wcslen(t)));
      TextOutW(mem, 115, 10, t, int(wcslen(t)));
    }
    SelectObject(mem, turned);
    TextOutW(mem, 207, 97, L"53.0mm", 6);
    TextOutW(mem, 205, 95, L"53.0mm", 6);
    SelectObject(mem, font);
    DeleteObject(turned);
    GdiFlush();
    texts.push_back(NowMs() - start);
  }
  SelectObject(mem, old);
  DeleteObject(surface);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  std::printf("  where it goes (memory bitmap, medians of 9): sheet picture %.3f ms, orientation picture %.3f ms; "
              "of these, background bitmap loaded %.3f ms, stretched (halftone) %.3f ms, six texts %.3f ms\n",
              Median(sheet), Median(picture), Median(load), Median(stretch), Median(texts));
}

void BasicPage(host::SheetEntry sheets, void* header, HANDLE printer) {
  std::vector<double> driver, bare, shownBare, preview, blit, direct;
  g_rd = LoadInstalledModule(L"VQ312RD.dll");
  g_record = reinterpret_cast<const JobSettings*>(static_cast<DOCUMENTPROPERTYHEADER*>(header)->pdmIn);
  host::RunSheet(sheets, header, L"pages bench", nullptr, PaintAndCancel);  // loads what loads once
  std::vector<double> init;
  TimeEntry(sheets);
  for (int i = 0; i < 9; ++i) {
    LARGE_INTEGER began;
    QueryPerformanceCounter(&began);
    g_start = NowMs();
    host::RunSheet(TimedEntry, header, L"pages bench", nullptr, PaintAndCancel);
    driver.push_back(g_opened);
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    init.push_back(1000.0 * double(InitReturned().QuadPart - began.QuadPart) / double(f.QuadPart));
    g_start = NowMs();
    host::RunSheet(BareTemplates, nullptr, L"pages bench", nullptr, PaintAndCancel);
    bare.push_back(g_opened);
    UseBareProcedure(ShownPage);
    g_start = NowMs();
    host::RunSheet(BareTemplates, nullptr, L"pages bench", nullptr, PaintAndCancel);
    shownBare.push_back(g_opened);
    UseBareProcedure(EmptyPage);
    host::RunSheet(sheets, header, L"pages bench", nullptr, ChangePaper);
    preview.push_back(g_preview);
    blit.push_back(g_blit);
    direct.push_back(g_direct);
  }
  const double d = Median(driver), b = Median(bare), p = Median(preview), q = Median(blit);
  std::printf("Printing Preferences opened to the basic page, lists filled, preview drawn, painted: "
              "%.1f ms; the bare templates: %.1f ms (medians of 9): %.2fx (target at most 1.3x)\n",
              d, b, d / b);
  std::printf("  of which the driver's INIT (device information, printer data, sibling modules): %.1f ms; "
              "the page created and painted after it: %.1f ms, %.2fx the bare templates\n",
              Median(init), d - Median(init), (d - Median(init)) / b);
  std::printf("  floor, the bare templates showing the driver's texts at its places, a tooltip on each "
              "control: %.1f ms (%.2fx bare); the driver is %.2fx its floor\n",
              Median(shownBare), Median(shownBare) / b, d / Median(shownBare));
  // Two things the page must do that its bare template does not: ask for
  // full printer access (the custom paper and favourites buttons) and read
  // the favourites (its list).
  std::vector<double> access, favourites;
  for (int i = 0; i < 9; ++i) {
    double start = NowMs();
    CheckPrinterAdminAccess(nullptr, kPrinterName, FALSE);
    access.push_back(NowMs() - start);
    Win32PrinterStore store(printer, false);
    auto set = std::make_unique<FavouriteSet>();
    start = NowMs();
    ReadFavourites(&store, set.get());
    favourites.push_back(NowMs() - start);
  }
  std::printf("  part of the page's own share: the full-access check %.2f ms, the favourites read %.2f ms\n",
              Median(access), Median(favourites));
  std::printf("preview redrawn after a paper change: %.3f ms; a BitBlt of the same rectangles: %.3f ms: "
              "%.1fx (target at most 5x)\n", p, q, p / q);
  const double floor = PaintFloor();
  std::printf("  floor: the same two frames repainted through WM_PAINT with one BitBlt each: %.3f ms; the "
              "preview is %.1fx that (the nearest bound that holds: %.0fx the BitBlt)\n",
              floor, p / floor, std::ceil(p / q));
  std::printf("  the same pictures drawn onto the frames past the page's WM_DRAWITEM (GetDC, draw, "
              "ReleaseDC): %.3f ms\n", Median(direct));
  PreviewProfile(*reinterpret_cast<const JobSettings*>(static_cast<DOCUMENTPROPERTYHEADER*>(header)->pdmIn));

  // The paper list with 20 user papers: the table read and the list filled,
  // against the same reads alone. The stored table is put back afterwards.
  Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
  Win32PrinterStore store(admin.get(), false);
  const std::vector<PaperInfo> stored = ReadPaperTable(&store);
  if (stored.empty()) return;
  std::vector<PaperInfo> table = WithUserPapers(stored, 20);
  WritePaperTable(&store, table.data(), uint32_t(table.size()));
  Win32PrinterStore reader(printer, false);
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  HWND list = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 280, 200,
                              owner, nullptr, nullptr, nullptr);
  std::vector<double> fill, reads;
  size_t listed = 0;
  for (int i = 0; i < 21; ++i) {
    double start = NowMs();
    std::vector<PaperInfo> papers = ReadPaperTable(&reader);
    reads.push_back(NowMs() - start);
    start = NowMs();
    papers = ReadPaperTable(&reader);
    uint32_t current = 1001;
    FillPaperCombo(list, papers.data(), papers.size(), false, &current, u"(narrow) ");
    fill.push_back(NowMs() - start);
    listed = size_t(SendMessageW(list, CB_GETCOUNT, 0, 0));
  }
  DestroyWindow(owner);
  WritePaperTable(&store, stored.data(), uint32_t(stored.size()));
  const double f = Median(fill), r = Median(reads);
  std::printf("paper list of %zu papers (20 user papers) read and filled: %.3f ms; the printer-data reads "
              "alone: %.3f ms (medians of 21): %.2fx (target at most 1.5x)\n", listed, f, r, f / r);
}

double ReadFileBytes(const std::wstring& path) {
  const double start = NowMs();
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size{};
  GetFileSizeEx(f, &size);
  std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(f);
  return NowMs() - start;
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
  UseTemplatesOf(ui);
  host::RunSheet(sheets, &header, L"pages bench", nullptr, TakeShown);
  BasicPage(sheets, &header, printer.get());
  host::RunSheet(sheets, &header, L"pages bench", nullptr, WalkPages);  // loads what loads once

  std::vector<double> driver, templates, shownWalk;
  std::vector<double> driverStep[kLastPage + 1], templateStep[kLastPage + 1];
  for (int i = 0; i < 9; ++i) {
    host::RunSheet(sheets, &header, L"pages bench", nullptr, WalkPages);
    driver.push_back(g_walk);
    for (int p = kFirstPage; p <= kLastPage; ++p) driverStep[p].push_back(g_step[p]);
    host::RunSheet(BareTemplates, nullptr, L"pages bench", nullptr, WalkPages);
    templates.push_back(g_walk);
    for (int p = kFirstPage; p <= kLastPage; ++p) templateStep[p].push_back(g_step[p]);
    UseBareProcedure(ShownPage);
    host::RunSheet(BareTemplates, nullptr, L"pages bench", nullptr, WalkPages);
    shownWalk.push_back(g_walk);
    UseBareProcedure(EmptyPage);
  }
  const double d = Median(driver), t = Median(templates), shown = Median(shownWalk);
  std::printf("cut, overlay and advanced pages shown in turn: driver %.1f ms, bare templates %.1f ms "
              "(medians of 9): %.2fx (target at most 1.3x)\n", d, t, d / t);
  std::printf("  floor, the bare templates showing the driver's texts at its places, a tooltip on each control: "
              "%.1f ms (%.2fx bare); the driver is %.2fx its floor\n", shown, shown / t, d / shown);
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
  FreeLibrary(ui);
  return 0;
}
