// Two costs of receipt colours under Wine, each against a baseline measured
// in the same run (medians of interleaved runs):
// - importing a ".bin" file of the most pairs a file may hold (255): the
//   read with its size check, the file check and the merge into the stored
//   arrays, against reading the same bytes with ReadFile alone;
// - drawing a chart page of 25 patches (rectangles, numbers and labels in
//   the chart's font) into a memory DC, against filling the same 25 patches
//   with one FillRect each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "pages/utility/receipt_chart_win.h"
#include "pages/utility/receipt_colours.h"
#include "pages/utility/receipt_colours_win.h"

using namespace vq;
using namespace vq::receipt;

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * double(t.QuadPart) / double(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <typename F>
double Time(F f, int inner) {
  const double start = Now();
  for (int i = 0; i < inner; ++i) f();
  return (Now() - start) / inner;
}

void Report(const char* what, double measured, double baseline, double target) {
  const double ratio = measured / baseline;
  std::printf("%-46s %9.3f ms  baseline %9.3f ms  ratio %.2fx (target <= %.0fx) %s\n", what,
              measured, baseline, ratio, target, ratio <= target ? "ok" : "OVER");
}

}  // namespace

int wmain() {
  // The file: 255 pairs with settings records that pass the check.
  Arrays stored;
  std::vector<uint8_t> settings(kSettingsSize, 0);
  JobSettings js{};
  std::memcpy(js.Signature, kSignature, sizeof kSignature);
  js.dmSize = kPublicSize;
  js.dmDriverExtra = kPrivateSize;
  std::memcpy(settings.data(), &js, kSettingsSize);
  for (int i = 0; i < int(kMaxFilePairs); ++i)
    Register(&stored, {uint8_t(i), 1, 2}, {3, 4, uint8_t(i)}, u"memo text",
             std::span<const uint8_t, kSettingsSize>(settings.data(), kSettingsSize));
  const std::vector<uint8_t> file = ExportFile(stored);
  wchar_t folder[MAX_PATH], path[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"rcb", 0, path);
  HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(out, file.data(), DWORD(file.size()), &written, nullptr);
  CloseHandle(out);

  std::vector<double> importMs, readMs;
  size_t sink = 0;
  for (int round = 0; round < 15; ++round) {
    readMs.push_back(Time([&] {
      HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      LARGE_INTEGER size{};
      GetFileSizeEx(h, &size);
      std::vector<uint8_t> bytes(size_t(size.QuadPart));
      DWORD got = 0;
      ReadFile(h, bytes.data(), DWORD(bytes.size()), &got, nullptr);
      CloseHandle(h);
      sink += bytes[got - 1];
    }, 20));
    importMs.push_back(Time([&] {
      std::vector<uint8_t> bytes;
      Arrays a;
      a.memos.assign(8, 0);
      if (ReadReceiptFile(path, &bytes) && CheckFile(bytes) == FileCheck::kOk)
        sink += size_t(Import(&a, bytes));
    }, 20));
  }
  DeleteFileW(path);
  std::printf("file of %u pairs, %zu bytes\n", kMaxFilePairs, file.size());
  Report("import of a .bin file (read, check, merge)", Median(importMs), Median(readMs), 3);

  // A page that holds all 25 patches: 600-dpi metrics on a letter page.
  const ChartMetrics& m = MetricsFor(600);
  const ChartLayout layout = LayoutChart(m, 4800, 6600);
  ChartRequest request;
  request.base = {120, 60, 200};
  const std::vector<Patch> patches = ChartPatches(request);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4800, 1800);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT font = CreateChartFont(m);
  HGDIOBJ oldFont = SelectObject(dc, font);
  std::vector<double> chartMs, fillMs;
  std::vector<int> failed;
  for (int round = 0; round < 15; ++round) {
    fillMs.push_back(Time([&] {
      for (const Patch& p : patches) {
        const PatchPlace at = PlacePatch(m, layout, p.number);
        RECT r{at.x, at.y, at.x + m.patchWidth, at.y + m.patchHeight};
        HBRUSH brush = CreateSolidBrush(RGB(p.colour.r, p.colour.g, p.colour.b));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
      }
      GdiFlush();
    }, 5));
    chartMs.push_back(Time([&] {
      failed.clear();
      DrawChartPage(dc, m, layout, patches, 0, &failed);
      GdiFlush();
    }, 5));
  }
  std::printf("chart page: %zu patches of %d x %d px, %zu failed\n", patches.size(), m.patchWidth,
              m.patchHeight, failed.size());
  Report("chart page through GDI (memory DC)", Median(chartMs), Median(fillMs), 3);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return sink == 0 ? 1 : 0;
}
