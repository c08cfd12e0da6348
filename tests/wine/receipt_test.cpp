// The receipt colour dialog under Wine, driven by messages against a printer
// whose port is a file: the utility page's button, a chart printed through
// Wine's PostScript driver and rendered with Ghostscript (the check reads
// the picture), registration, the list, import, export and refused files.
#include <gtest/gtest.h>

#include "base/ddk_win.h"

#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/module_win.h"
#include "modules/simulated_printer/maintenance_state_win.h"
#include "modules/simulated_printer/simulated_printer_win.h"
#include "pages/utility/receipt_chart.h"
#include "pages/utility/receipt_colours.h"
#include "pages/utility/receipt_colours_win.h"
#include "settings/printer_store_win.h"
#include "tests/wine/glyph_check_win.h"
#include "tests/wine/installed_printer.h"
#include "tests/wine/page_driver.h"
#include "tools/sheet_host/sheet_host_win.h"

namespace vq::wine {
namespace {

using namespace receipt;

constexpr wchar_t kReceiptPrinter[] = L"VT-Q3120 Receipt Test";
constexpr wchar_t kChartFile[] = L"C:\\windows\\temp\\vq312-receipt.prn";
constexpr int kList = 1295, kGroup = 1323;

// As typing does: the text, then the edit's change notification.
void TypeAndNotify(HWND dialog, int id, const wchar_t* text) {
  SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, LPARAM(text));
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), LPARAM(GetDlgItem(dialog, id)));
}

// Drops `paths` on the list's group, as Explorer would.
void Drop(HWND dialog, const std::vector<std::wstring>& paths) {
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* names = reinterpret_cast<wchar_t*>(drop + 1);
  for (const auto& p : paths) {
    std::memcpy(names, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
    names += p.size() + 1;
  }
  GlobalUnlock(memory);
  PostMessageW(GetDlgItem(dialog, kGroup), WM_DROPFILES, WPARAM(memory), 0);
}

// Types `path` into the open or save dialog that comes up and presses OK.
// The file name is combo 1148 in the Explorer-style dialog, edit 1152 in
// the older one.
bool AnswerFileDialog(const std::wstring& path) {
  HWND box = nullptr;
  int name = 0;
  for (int i = 0; i < 40 && !box; ++i)
    for (int id : {1148, 1152})
      if (!box && (box = WaitForDialog(id, 100))) name = id;
  if (!box) return false;
  SetDlgItemTextW(box, name, path.c_str());
  PostClick(box, IDOK);
  WaitGone(box);
  return !IsWindow(box);
}

// ---- The printer ------------------------------------------------------------------

void SetSimulated(std::initializer_list<const char*> words) {
  sim::PrinterState state;
  ASSERT_TRUE(sim::ReadPrinterState(kReceiptPrinter, &state));
  for (const char* word : words) {
    std::string error;
    ASSERT_TRUE(std::string(word) == "reset" ? (state = sim::PrinterState{}, true)
                                             : sim::ApplySetting(word, &state, &error))
        << word << ": " << error;
  }
  ASSERT_TRUE(sim::WritePrinterState(kReceiptPrinter, state));
}

Arrays Stored() {
  Printer own(kReceiptPrinter);
  Win32PrinterStore store(own.get(), false);
  return ReadArrays(&store);
}

void Store(const Arrays& a) {
  Printer admin(kReceiptPrinter, PRINTER_ALL_ACCESS);
  Win32PrinterStore store(admin.get(), false);
  ASSERT_EQ(WriteArrays(&store, a), 3);
}

std::vector<uint8_t> NumbersOf(const Arrays& a) {
  std::vector<uint8_t> n;
  for (const Row& r : ListRows(a)) n.push_back(r.number);
  return n;
}

// The printer's stored settings with monochrome on or off.
void SetMonochrome(bool on) {
  Printer admin(kReceiptPrinter, PRINTER_ALL_ACCESS);
  std::vector<unsigned char> info = GetPrinterInfo(admin.get(), 2);
  ASSERT_GE(info.size(), sizeof(PRINTER_INFO_2W));
  auto* p2 = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  ASSERT_NE(p2->pDevMode, nullptr);
  reinterpret_cast<JobSettings*>(p2->pDevMode)->Monochrome = on;
  p2->pSecurityDescriptor = nullptr;
  ASSERT_TRUE(SetPrinterW(admin.get(), 2, info.data(), 0));
}

std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> Settings() {
  std::vector<uint8_t> s(kSettingsSize, 0);
  JobSettings js{};
  std::memcpy(js.Signature, kSignature, sizeof kSignature);
  js.dmSize = kPublicSize;
  js.dmDriverExtra = kPrivateSize;
  js.dmCopies = 3;
  std::memcpy(s.data(), &js, kSettingsSize);
  return s;
}

Arrays Seeded(int pairs) {
  Arrays a;
  a.memos.assign(8, 0);
  const std::vector<uint8_t> s = Settings();
  for (int i = 0; i < pairs; ++i)
    Register(&a, {uint8_t(10 * i), 20, 30}, {uint8_t(10 * i + 1), 21, 31},
             i == 0 ? u"Logo red" : u"", std::span<const uint8_t, kSettingsSize>(s.data(), kSettingsSize));
  return a;
}

// ---- Ghostscript, run from Wine as the Linux program it is -----------------------

std::string UnixPath(const std::wstring& path) {
  using Fn = char*(CDECL*)(const wchar_t*);
  const auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* unix = fn ? fn(path.c_str()) : nullptr;
  std::string s = unix ? unix : "";
  if (unix) HeapFree(GetProcessHeap(), 0, unix);
  return s;
}

// Runs `gsArgs` through /bin/sh; true when gs ended with 0.
bool RunGhostscript(const std::string& gsArgs) {
  const std::wstring done = TempPath(L"vq312-gs.done");
  DeleteFileW(done.c_str());
  const std::string script = "gs -q -dNOPAUSE -dBATCH -dSAFER " + gsArgs + " >/dev/null 2>&1; echo $? > '" +
                             UnixPath(done) + "'";
  std::wstring command = L"Z:\\bin\\sh -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // A Linux child gives Wine no exit code: its answer comes in a file.
  for (int i = 0; i < 600; ++i, Sleep(50)) {
    const std::vector<uint8_t> rc = ReadBytes(done);
    if (!rc.empty()) return rc[0] == '0';
  }
  return false;
}

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

// A binary PPM (P6, 8 bits), with the comment lines Ghostscript writes.
bool ReadPpm(const std::wstring& path, Picture* p) {
  const std::vector<uint8_t> b = ReadBytes(path);
  size_t at = 0;
  int fields[4] = {};  // magic, width, height, maxval
  for (int f = 0; f < 4; ++f) {
    while (at < b.size() && (std::isspace(b[at]) || b[at] == '#')) {
      if (b[at] == '#')
        while (at < b.size() && b[at] != '\n') ++at;
      else
        ++at;
    }
    if (f == 0) {
      if (at + 2 > b.size() || b[at] != 'P' || b[at + 1] != '6') return false;
      at += 2;
      continue;
    }
    for (; at < b.size() && std::isdigit(b[at]); ++at) fields[f] = fields[f] * 10 + (b[at] - '0');
  }
  p->width = fields[1];
  p->height = fields[2];
  const size_t start = at + 1, size = size_t(p->width) * p->height * 3;
  if (fields[3] != 255 || b.size() < start + size) return false;
  p->rgb.assign(b.begin() + ptrdiff_t(start), b.begin() + ptrdiff_t(start + size));
  return true;
}

// Where the printer DC puts its device pixels on the rendered page.
struct PageGeometry {
  int dpi, offsetX, offsetY, horz, vert;
};
PageGeometry Geometry() {
  HDC dc = CreateDCW(nullptr, kReceiptPrinter, nullptr, nullptr);
  PageGeometry g{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, PHYSICALOFFSETX),
                 GetDeviceCaps(dc, PHYSICALOFFSETY), GetDeviceCaps(dc, HORZRES),
                 GetDeviceCaps(dc, VERTRES)};
  DeleteDC(dc);
  return g;
}

// Renders the chart file and checks every patch of `table` in the picture:
// its colour in the middle of the patch, its number drawn in the number box
// and its label drawn under it.
void CheckRenderedChart(const std::vector<Patch>& table) {
  constexpr int kRender = 150;
  const PageGeometry g = Geometry();
  const ChartMetrics& m = MetricsFor(g.dpi);
  const ChartLayout layout = LayoutChart(m, g.horz, g.vert);
  const std::wstring pages = TempPath(L"vq312-chart-");
  ASSERT_TRUE(RunGhostscript("-sDEVICE=ppmraw -r" + std::to_string(kRender) + " -sOutputFile='" +
                             UnixPath(pages) + "%d.ppm' '" + UnixPath(kChartFile) + "'"))
      << "Ghostscript could not render " << Utf8(kChartFile);
  const auto px = [&](int device, int offset) { return (offset + device) * kRender / g.dpi; };
  int checked = 0;
  for (const Patch& patch : table) {
    SCOPED_TRACE("patch " + std::to_string(patch.number));
    const PatchPlace at = PlacePatch(m, layout, patch.number);
    Picture pic;
    ASSERT_TRUE(ReadPpm(pages + std::to_wstring(at.page + 1) + L".ppm", &pic)) << "page " << at.page + 1;
    // The colour: a spot right of the number box.
    const uint8_t* c = pic.At(px(at.x + m.patchWidth * 3 / 4, g.offsetX), px(at.y + m.patchHeight * 2 / 3, g.offsetY));
    EXPECT_NEAR(c[0], patch.colour.r, 3);
    EXPECT_NEAR(c[1], patch.colour.g, 3);
    EXPECT_NEAR(c[2], patch.colour.b, 3);
    // Ink in a box: pixels far from the colour the box would have blank.
    const auto inked = [&](int x0, int y0, int x1, int y1, const uint8_t* blank) {
      int n = 0;
      for (int y = px(y0, g.offsetY); y < std::min(px(y1, g.offsetY), pic.height); ++y)
        for (int x = px(x0, g.offsetX); x < std::min(px(x1, g.offsetX), pic.width); ++x) {
          const uint8_t* q = pic.At(x, y);
          n += std::abs(q[0] - blank[0]) + std::abs(q[1] - blank[1]) + std::abs(q[2] - blank[2]) > 150;
        }
      return n;
    };
    const uint8_t white[3] = {255, 255, 255};
    EXPECT_GT(inked(at.x, at.y + m.patchHeight, at.x + m.patchWidth, at.y + m.patchHeight + m.labelHeight, white), 20)
        << "no label under the patch";
    const uint8_t patchColour[3] = {patch.colour.r, patch.colour.g, patch.colour.b};
    EXPECT_GT(inked(at.x, at.y, at.x + m.numberWidth, at.y + m.numberHeight, patchColour), 5)
        << "no number on the patch";
    // The gap right of the patch (a pixel in from either edge) stays blank:
    // the check tells ink from paper.
    EXPECT_EQ(inked(at.x + m.patchWidth + 6, at.y, at.x + m.patchWidth + m.gapX - 6, at.y + m.patchHeight, white), 0);
    ++checked;
  }
  EXPECT_EQ(checked, int(table.size()));
}

std::wstring ShotFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"VQ312_RECEIPT_SHOTS", folder, MAX_PATH)) return TempPath(L"receipt-shots");
  return folder;
}

void Shot(HWND w, const wchar_t* name) {
  SHCreateDirectoryExW(nullptr, ShotFolder().c_str(), nullptr);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(400);
  EXPECT_TRUE(host::SaveWindowBitmap(w, ShotFolder() + L"\\" + name + L".bmp")) << Utf8(name);
  std::vector<std::wstring> undrawable;
  EXPECT_GT(CheckTexts(w, name, &undrawable), 0);
  for (const std::wstring& u : undrawable) ADD_FAILURE() << Utf8(u);
}

class Receipt : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer_);
    ASSERT_NE(gs_, nullptr);
    SetSimulated({"reset", "idle"});
    Store(Arrays{{}, std::vector<uint8_t>(8, 0), {}});
    settings_ = {};
    const std::vector<unsigned char> dm = StoredDevMode(printer_.get());
    ASSERT_GE(dm.size(), kJobSettingsSize);
    std::memcpy(&settings_, dm.data(), kJobSettingsSize);
  }

  // Runs the dialog on this thread while `drive` works it from another.
  void WithDialog(const std::function<void(HWND)>& drive) {
    HANDLE thread = CreateThread(nullptr, 0, [](void* p) -> DWORD {
      auto& f = *static_cast<const std::function<void(HWND)>*>(p);
      HWND dialog = WaitForDialog(kList);
      EXPECT_NE(dialog, nullptr) << "the dialog did not open";
      if (!dialog) return 1;
      f(dialog);
      if (IsWindow(dialog)) {
        PostClick(dialog, 1324);
        AnswerBox(IDYES);
        WaitGone(dialog);
      }
      return 0;
    }, const_cast<std::function<void(HWND)>*>(&drive), 0, nullptr);
    const MaintenanceTarget t{gs_, printer_.get(), printer_.get(), &settings_, kReceiptPrinter};
    EXPECT_EQ(ShowReceiptColourDialog(nullptr, t), 1324);
    WaitForSingleObject(thread, 60000);
    CloseHandle(thread);
  }

  Printer printer_{kReceiptPrinter, PRINTER_ACCESS_USE};
  HMODULE gs_ = LoadInstalledModule(L"VQ312GS.dll");
  JobSettings settings_{};
};

// The page keeps its button hidden; a click on it (as the page's own
// procedure gets it) opens the dialog in plain colour printing only.
TEST_F(Receipt, UtilityButtonOpensOnlyInPlainColour) {
  HMODULE ui = LoadInstalledModule(L"VQ312UI.dll");
  const auto device = Export<host::SheetEntry>(ui, "DrvDevicePropertySheets");
  ASSERT_TRUE(device);
  for (bool monochrome : {true, false}) {
    SCOPED_TRACE(monochrome ? "monochrome" : "colour");
    SetMonochrome(monochrome);
    DEVICEPROPERTYHEADER header{sizeof header, 0, printer_.get(), const_cast<wchar_t*>(kReceiptPrinter)};
    host::RunSheet(device, &header, L"Receipt test", [&](HWND sheet) {
      HWND page = nullptr;
      for (int i = 0; i < 200 && !page; ++i, Sleep(20)) page = PropSheet_GetCurrentPageHwnd(sheet);
      Sleep(200);
      ASSERT_NE(page, nullptr);
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, 1089)));
      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1089)));
      PostClick(page, 1089);
      if (monochrome) {
        EXPECT_EQ(AnswerBox(IDOK), InstalledMessageText(4116));
      } else {
        HWND dialog = WaitForDialog(kList);
        ASSERT_NE(dialog, nullptr);
        // Close asks first: No keeps the dialog.
        PostClick(dialog, 1324);
        EXPECT_EQ(AnswerBox(IDNO), InstalledMessageText(4026));
        EXPECT_TRUE(IsWindow(dialog));
        PostClick(dialog, 1324);
        AnswerBox(IDYES);
        WaitGone(dialog);
        EXPECT_FALSE(IsWindow(dialog));
      }
      PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
  }
  FreeLibrary(ui);
}

// Source colour, a base chart rendered and checked, a fine chart, start
// over, and registration with the chart's colour and the job settings.
TEST_F(Receipt, ChartsPrintAndTheBestPatchRegisters) {
  DeleteFileW(kChartFile);
  ChartRequest base;
  base.base = {252, 40, 3};
  base.stepItem = 0;
  const std::vector<Patch> table = ChartPatches(base);
  WithDialog([&](HWND d) {
    EXPECT_FALSE(Enabled(d, 1292));
    EXPECT_FALSE(Enabled(d, 1296));
    EXPECT_FALSE(Enabled(d, 1301)) << "nothing to export";
    EXPECT_EQ(TextOf(d, 1263), L"25");
    // Edits clamp and move the sliders; a slider writes the edits.
    TypeAndNotify(d, 1257, L"300");
    EXPECT_EQ(TextOf(d, 1257), L"255");
    EXPECT_EQ(SendDlgItemMessageW(d, 1226, TBM_GETPOS, 0, 0), 255);
    SendDlgItemMessageW(d, 1229, TBM_SETPOS, TRUE, 40);
    SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 40), LPARAM(GetDlgItem(d, 1229)));
    EXPECT_EQ(TextOf(d, 1259), L"40");
    TypeAndNotify(d, 1257, L"252");
    TypeAndNotify(d, 1258, L"3");
    Pick(d, 1298, 0);
    EXPECT_EQ(TextOf(d, 1263), L"7");
    EXPECT_EQ(SendDlgItemMessageW(d, 1260, CB_GETCOUNT, 0, 0), 7);
    Pick(d, 1298, 1);
    Pick(d, 1297, 0);

    // Declined: nothing printed, nothing unlocked.
    PostClick(d, 1293);
    EXPECT_EQ(AnswerBox(IDNO), InstalledMessageText(4032));
    EXPECT_FALSE(Enabled(d, 1292));
    PostClick(d, 1293);
    AnswerBox(IDYES);
    for (int i = 0; i < 400 && !Enabled(d, 1292); ++i) Sleep(25);
    ASSERT_TRUE(Enabled(d, 1292)) << "the base chart did not print";
    EXPECT_FALSE(Enabled(d, 1293));
    EXPECT_FALSE(Enabled(d, 1257));
    EXPECT_FALSE(Enabled(d, 1298));
    CheckRenderedChart(table);

    // A printer that never gets ready: the wait is cancelled, nothing prints.
    SetSimulated({"paused"});
    DeleteFileW(kChartFile);
    PostClick(d, 1292);
    AnswerBox(IDYES);
    if (HWND wait = WaitForDialog(1218)) {
      PostClick(wait, 1217);
      WaitGone(wait);
    }
    EXPECT_EQ(AnswerBox(IDOK), InstalledMessageText(4021));
    EXPECT_EQ(GetFileAttributesW(kChartFile), INVALID_FILE_ATTRIBUTES);
    SetSimulated({"idle"});

    // Start over: No keeps the chart; Yes goes back to choosing a colour.
    PostClick(d, 1305);
    EXPECT_EQ(AnswerBox(IDNO), InstalledMessageText(4105));
    EXPECT_TRUE(Enabled(d, 1296));
    PostClick(d, 1305);
    AnswerBox(IDYES);
    Sleep(100);
    EXPECT_FALSE(Enabled(d, 1296));
    EXPECT_TRUE(Enabled(d, 1293));
    EXPECT_TRUE(Enabled(d, 1257));

    // Again, and register patch 2 (red clamped to 255) with a memo.
    PostClick(d, 1293);
    AnswerBox(IDYES);
    for (int i = 0; i < 400 && !Enabled(d, 1296); ++i) Sleep(25);
    Pick(d, 1260, 2);
    TypeAndNotify(d, 1261, L"Logo red");
    PostClick(d, 1296);
    for (int i = 0; i < 400 && ListView_GetItemCount(GetDlgItem(d, kList)) == 0; ++i) Sleep(25);
    EXPECT_EQ(ListView_GetItemCount(GetDlgItem(d, kList)), 1);
    EXPECT_TRUE(Enabled(d, 1301));
    EXPECT_FALSE(Enabled(d, 1296)) << "back to the start";
  });
  const Arrays stored = Stored();
  const std::vector<Row> rows = ListRows(stored);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].number, 1);
  EXPECT_EQ(rows[0].source, base.base);
  EXPECT_EQ(rows[0].print, table[2].colour);
  EXPECT_EQ(rows[0].print.r, 255);
  EXPECT_EQ(rows[0].memo, u"Logo red");
  JobSettings js{};
  ASSERT_TRUE(StoredSettings(stored, 0, &js));
  EXPECT_EQ(std::memcmp(&js, &settings_, kJobSettingsSize), 0) << "a full copy of the job settings";
}

// The list: delete keeps numbers, the stored settings are shown, export and
// import go through the file dialogs, and bad files change nothing.
TEST_F(Receipt, ListExportImportAndRefusedFiles) {
  Store(Seeded(3));
  const std::wstring exported = TempPath(L"vq312-receipt-export.bin");
  DeleteFileW(exported.c_str());
  const std::vector<uint8_t> good = ExportFile(Seeded(2));
  std::vector<uint8_t> foreign = good;
  foreign[4 + 2 * (kColourSize + kMemoSize) + 220] = 'X';
  const std::wstring folder = TempPath(L"vq312-receipt-folder");
  CreateDirectoryW(folder.c_str(), nullptr);
  struct Bad {
    const wchar_t* name;
    std::vector<uint8_t> bytes;
  };
  const Bad bad[] = {{L"empty.bin", {}},
                     {L"truncated.bin", std::vector<uint8_t>(good.begin(), good.end() - 1)},
                     {L"foreign.bin", foreign}};
  for (const Bad& b : bad) WriteBytes(TempPath(b.name), b.bytes);
  // A 1 GB file: refused by its size, never read.
  const std::wstring huge = TempPath(L"huge.bin");
  HANDLE h = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  LARGE_INTEGER gb{};
  gb.QuadPart = int64_t{1} << 30;
  SetFilePointerEx(h, gb, nullptr, FILE_BEGIN);
  SetEndOfFile(h);
  CloseHandle(h);

  WithDialog([&](HWND d) {
    HWND list = GetDlgItem(d, kList);
    ASSERT_EQ(ListView_GetItemCount(list), 3);
    wchar_t text[64] = {};
    ListView_GetItemText(list, 1, 1, text, 64);
    EXPECT_STREQ(text, L"R:10 G:20 B:30");
    ListView_GetItemText(list, 0, 3, text, 64);
    EXPECT_STREQ(text, L"Logo red");
    EXPECT_TRUE(Enabled(d, 1301));

    // Two rows selected: delete stays, the settings button goes.
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(Enabled(d, 1306));
    ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(Enabled(d, 1294));
    EXPECT_FALSE(Enabled(d, 1306));
    ListView_SetItemState(list, 2, 0, LVIS_SELECTED);
    PostClick(d, 1306);
    HWND summary = WaitForDialog(103);  // the summary's Copy button
    EXPECT_NE(summary, nullptr) << "the stored settings are shown";
    if (summary) {
      PostClick(summary, IDOK);
      WaitGone(summary);
    }
    PostClick(d, 1294);
    EXPECT_EQ(AnswerBox(IDYES), InstalledMessageText(4028));
    Sleep(100);
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_FALSE(Enabled(d, 1294));

    PostClick(d, 1301);
    EXPECT_TRUE(AnswerFileDialog(exported));
    Sleep(200);
    PostClick(d, 1291);
    EXPECT_TRUE(AnswerFileDialog(exported));
    for (int i = 0; i < 200 && ListView_GetItemCount(list) < 4; ++i) Sleep(25);
    EXPECT_EQ(ListView_GetItemCount(list), 4);

    const Arrays before = Stored();
    for (const Bad& b : bad) {
      Drop(d, {TempPath(b.name)});
      EXPECT_EQ(AnswerBox(IDOK), InstalledMessageText(4064)) << Utf8(b.name);
    }
    Drop(d, {huge});
    EXPECT_EQ(AnswerBox(IDOK), InstalledMessageText(4064)) << "1 GB";
    Drop(d, {folder});
    EXPECT_EQ(AnswerBox(IDOK), InstalledMessageText(4064)) << "a folder";
    Drop(d, {exported, exported});
    EXPECT_EQ(AnswerBox(IDOK), InstalledMessageText(4063)) << "two files";
    const Arrays after = Stored();
    EXPECT_EQ(after.colours, before.colours);
    EXPECT_EQ(after.settings, before.settings);
    Drop(d, {exported});
    for (int i = 0; i < 200 && ListView_GetItemCount(list) < 6; ++i) Sleep(25);
    EXPECT_EQ(ListView_GetItemCount(list), 6) << "one file dropped is imported";
  });
  EXPECT_EQ(ReadBytes(exported).size(), 4 + 2 * kPairSize);
  EXPECT_EQ(NumbersOf(Stored()), (std::vector<uint8_t>{1, 3, 4, 5, 6, 7}));
  for (const Bad& b : bad) DeleteFileW(TempPath(b.name).c_str());
  DeleteFileW(huge.c_str());
  DeleteFileW(exported.c_str());
  RemoveDirectoryW(folder.c_str());
}

// Damaged stored values: whole records are listed, nothing breaks.
TEST_F(Receipt, DamagedStoredValuesOpen) {
  Arrays a = Seeded(2);
  a.colours.resize(13);
  a.memos.resize(5);
  a.settings.resize(100);
  Store(a);
  WithDialog([&](HWND d) {
    EXPECT_EQ(ListView_GetItemCount(GetDlgItem(d, kList)), 1);
    // Row 0 is selected, but its settings record is cut short: nothing to show.
    PostClick(d, 1306);
    Sleep(200);
    EXPECT_EQ(WaitForDialog(103, 300), nullptr);
  });
}

// The dialog with entries and a printed chart, and the chart as printed.
TEST_F(Receipt, Screenshots) {
  Store(Seeded(3));
  DeleteFileW(kChartFile);
  WithDialog([&](HWND d) {
    TypeAndNotify(d, 1257, L"200");
    TypeAndNotify(d, 1259, L"60");
    TypeAndNotify(d, 1258, L"90");
    PostClick(d, 1293);
    AnswerBox(IDYES);
    for (int i = 0; i < 400 && !Enabled(d, 1292); ++i) Sleep(25);
    ListView_SetItemState(GetDlgItem(d, kList), 0, LVIS_SELECTED, LVIS_SELECTED);
    Shot(d, L"receipt-colours");
  });
  EXPECT_TRUE(RunGhostscript("-sDEVICE=png16m -r150 -dLastPage=1 -sOutputFile='" +
                             UnixPath(ShotFolder() + L"\\receipt-chart.png") + "' '" +
                             UnixPath(kChartFile) + "'"));
}

}  // namespace
}  // namespace vq::wine

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The dialogs run from this program's copy of the code, with their
  // templates and texts from the installed modules.
  vq::g_module = vq::wine::LoadInstalledModule(L"VQ312UI.dll");
  return RUN_ALL_TESTS();
}
