// Receipt colours: the stored arrays, the export file, the chart.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pages/utility/receipt_chart.h"
#include "pages/utility/receipt_colours.h"
#include "settings/memory_store.h"
#include "settings/printer_store.h"

namespace vq::receipt {
namespace {

std::vector<uint8_t> Settings(uint16_t copies = 1) {
  JobSettings js{};
  std::memcpy(js.Signature, kSignature, sizeof kSignature);
  js.dmSize = kPublicSize;
  js.dmDriverExtra = kPrivateSize;
  js.dmSpecVersion = kSpecVersion;
  js.dmDriverVersion = kDriverVersion;
  js.dmCopies = int16_t(copies);
  std::vector<uint8_t> bytes(kSettingsSize);
  std::memcpy(bytes.data(), &js, kSettingsSize);
  return bytes;
}

uint8_t Reg(Arrays* a, uint8_t red, const char16_t* memo = u"", uint16_t copies = 1) {
  const std::vector<uint8_t> s = Settings(copies);
  return Register(a, {red, 2, 3}, {4, 5, 6}, memo, std::span<const uint8_t, kSettingsSize>(s.data(), kSettingsSize));
}

std::vector<uint8_t> Numbers(const Arrays& a) {
  std::vector<uint8_t> n;
  for (const Row& r : ListRows(a)) n.push_back(r.number);
  return n;
}

TEST(ReceiptStore, NumbersCountOnAndSurviveDeletion) {
  Arrays a;
  a.memos.assign(8, 0);  // the install default
  EXPECT_EQ(Reg(&a, 10, u"first"), 1);
  EXPECT_EQ(Reg(&a, 11), 2);
  EXPECT_EQ(Reg(&a, 12, u"third"), 3);
  EXPECT_EQ(a.memos.size(), 3 * kMemoSize) << "the default memo value is replaced";
  const size_t second = 1;
  Delete(&a, std::span(&second, 1));
  EXPECT_EQ(Numbers(a), (std::vector<uint8_t>{1, 3}));
  EXPECT_EQ(ListRows(a)[1].memo, u"third");
  EXPECT_EQ(ListRows(a)[1].source, (Rgb{12, 2, 3}));
  EXPECT_EQ(Reg(&a, 13), 4);
  EXPECT_EQ(SettingsCount(a), 3u);
  // Byte arithmetic: 255 is followed by 0.
  a.colours[a.colours.size() - 1] = 255;
  EXPECT_EQ(Reg(&a, 14), 0);
  // A memo whose number disagrees, and a record with flags 0, are not shown.
  a.memos[0] = 9;
  a.colours[kColourSize] = 0;
  const std::vector<Row> rows = ListRows(a);
  EXPECT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].memo, u"");
  EXPECT_EQ(rows[1].index, 2u);
  // A memo longer than the record holds is cut to 34 characters.
  Arrays b;
  Reg(&b, 1, u"0123456789012345678901234567890123456789");
  EXPECT_EQ(ListRows(b)[0].memo.size(), kMemoChars);
  EXPECT_EQ(ColourText({1, 22, 255}), u"R:1 G:22 B:255");
}

TEST(ReceiptStore, DamagedValuesReadAsWholeRecordsOnly) {
  struct Case {
    const char* name;
    size_t colourBytes, memoBytes, settingsBytes;
    size_t rows;
    bool settingsOfFirst;
  };
  const Case cases[] = {
      {"empty", 0, 0, 0, 0, false},
      {"colours cut short", 13, 72, 1384, 1, true},
      {"memo value of the wrong size", 16, 5, 1384, 2, true},
      {"settings cut short", 8, 72, 1000, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Arrays a;
    a.colours.assign(c.colourBytes, 0x11);
    a.memos.assign(c.memoBytes, 1);
    a.settings.assign(c.settingsBytes, 0);
    EXPECT_EQ(ListRows(a).size(), c.rows);
    JobSettings js{};
    EXPECT_EQ(StoredSettings(a, 0, &js), c.settingsOfFirst);
    const std::vector<uint8_t> file = ExportFile(a);
    EXPECT_EQ(CheckFile(file) == FileCheck::kOk || CheckFile(file) == FileCheck::kForeignRecord, true);
    EXPECT_EQ(file.size(), 4 + ColourCount(a) * kPairSize);
  }
}

TEST(ReceiptFile, ExactSizeSignatureAndVersion) {
  Arrays a;
  Reg(&a, 10, u"a");
  Reg(&a, 20, u"b");
  const std::vector<uint8_t> good = ExportFile(a);
  ASSERT_EQ(good.size(), 4 + 2 * kPairSize);
  const size_t first = 4 + 2 * (kColourSize + kMemoSize);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    FileCheck expected;
  };
  auto with = [&](auto change) {
    std::vector<uint8_t> b = good;
    change(b);
    return b;
  };
  std::vector<uint8_t> tooMany(4 + 16);
  tooMany[1] = 8;  // L = 2048: 256 pairs claimed
  const Case cases[] = {
      {"as exported", good, FileCheck::kOk},
      {"no entries", {0, 0, 0, 0}, FileCheck::kOk},
      {"empty", {}, FileCheck::kEmpty},
      {"header only part", {8, 0}, FileCheck::kWrongSize},
      {"one byte short", with([](auto& b) { b.pop_back(); }), FileCheck::kWrongSize},
      {"one byte over", with([](auto& b) { b.push_back(0); }), FileCheck::kWrongSize},
      {"length not whole records", with([](auto& b) { b[0] = 17; }), FileCheck::kWrongSize},
      {"256 pairs", tooMany, FileCheck::kTooManyPairs},
      {"another printer", with([&](auto& b) { b[first + 220] = 'X'; }), FileCheck::kForeignRecord},
      {"signature not terminated", with([&](auto& b) { b[first + 230] = 'Z'; }),
       FileCheck::kForeignRecord},
      {"newer driver", with([&](auto& b) { b[first + 67] = 0x06; }), FileCheck::kFutureVersion},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CheckFile(c.bytes), c.expected) << FileCheckName(CheckFile(c.bytes));
    Arrays stored = a;
    EXPECT_EQ(Import(&stored, c.bytes) >= 0, c.expected == FileCheck::kOk);
    if (c.expected != FileCheck::kOk) {
      EXPECT_EQ(stored.colours, a.colours);
      EXPECT_EQ(stored.settings, a.settings);
    }
  }
  EXPECT_EQ(CheckFileSize(kMaxFileSize), FileCheck::kOk);
  EXPECT_EQ(CheckFileSize(uint64_t{1} << 30), FileCheck::kTooLarge);
}

TEST(ReceiptFile, ImportAppendsAndRenumbers) {
  Arrays file;
  Reg(&file, 50, u"x", 7);
  Reg(&file, 51, u"y", 8);
  const std::vector<uint8_t> bytes = ExportFile(file);

  Arrays empty;
  empty.memos.assign(8, 0);
  EXPECT_EQ(Import(&empty, bytes), 2);
  EXPECT_EQ(Numbers(empty), (std::vector<uint8_t>{1, 2}));

  Arrays stored;
  Reg(&stored, 1);
  stored.colours[7] = 254;  // the last stored number
  stored.memos[0] = 254;
  EXPECT_EQ(Import(&stored, bytes), 2);
  EXPECT_EQ(Numbers(stored), (std::vector<uint8_t>{254, 255, 0}));
  const std::vector<Row> rows = ListRows(stored);
  EXPECT_EQ(rows[2].memo, u"y") << "memo numbers follow the colours";
  JobSettings js{};
  ASSERT_TRUE(StoredSettings(stored, 2, &js));
  EXPECT_EQ(js.dmCopies, 8);

  // Zero entries appended change nothing.
  const Arrays before = stored;
  EXPECT_EQ(Import(&stored, std::vector<uint8_t>{0, 0, 0, 0}), 0);
  EXPECT_EQ(stored.colours, before.colours);
  EXPECT_EQ(stored.memos, before.memos);
}

TEST(ReceiptStore, PrinterDataWritesInOrderAndStopsAtAFailure) {
  MemorySpooler spooler;
  MemoryPrinter& p = spooler.Add(u"P");
  p.SetBinary(pd::kReceiptColMsg, std::vector<uint8_t>(8, 0).data(), 8);
  p.SetDword(pd::kReceiptColDevMode, 5);  // wrong type: read as empty
  auto store = spooler.Open(u"P", kPrinterAllAccess);
  Arrays a = ReadArrays(store.get());
  EXPECT_EQ(a.memos.size(), 8u);
  EXPECT_TRUE(a.settings.empty());
  Reg(&a, 9);
  p.writeLog.clear();
  p.failWrites.insert(pd::kReceiptColMsg);
  EXPECT_EQ(WriteArrays(store.get(), a), 1);
  EXPECT_EQ(p.writeLog.size(), 2u);
  p.failWrites.clear();
  EXPECT_EQ(WriteArrays(store.get(), a), 3);
  EXPECT_EQ(Numbers(ReadArrays(store.get())), std::vector<uint8_t>{1});
}

TEST(ReceiptRules, PlainColourAndSourceEdits) {
  struct Case {
    const char* name;
    void (*change)(JobSettings&);
    bool plain;
  };
  const Case cases[] = {
      {"defaults", [](JobSettings&) {}, true},
      {"option 552", [](JobSettings& j) { j.Option552 = 1; }, false},
      {"colour style", [](JobSettings& j) { j.ColorStyle = 2; }, false},
      {"monochrome", [](JobSettings& j) { j.Monochrome = 1; }, false},
      {"ICM", [](JobSettings& j) { j.IcmMode = 1; }, false},
      {"MCC3 bit 0", [](JobSettings& j) { j.Mcc3Flags = 3; }, false},
      {"MCC3 bit 1 only", [](JobSettings& j) { j.Mcc3Flags = 2; }, true},
      {"media 262", [](JobSettings& j) { j.MediaTypeId = 262; }, false},
      {"media 361", [](JobSettings& j) { j.MediaTypeId = 361; }, false},
      {"media 362", [](JobSettings& j) { j.MediaTypeId = 362; }, true},
  };
  for (const Case& c : cases) {
    JobSettings js{};
    c.change(js);
    EXPECT_EQ(IsPlainColourPrinting(js), c.plain) << c.name;
  }
  for (auto [typed, value] : {std::pair{u"", 0}, {u"255", 255}, {u"256", 255}, {u"99999999999", 255}, {u"007", 7}})
    EXPECT_EQ(SourceValue(typed), value) << value;
}

TEST(ReceiptChart, PatchColoursClampAndFollowTheTables) {
  struct Case {
    const char* name;
    ChartRequest request;
    size_t patches;
    int patch;
    Rgb colour;
  };
  const Case cases[] = {
      {"red 254 step 5 clamps", {{254, 100, 100}, ChartMode::kBase, 25, 0, 1, 0}, 25, 2, {255, 100, 100}},
      {"small table", {{100, 100, 100}, ChartMode::kBase, 7, 1, 0, 0}, 7, 6, {100, 100, 97}},
      {"large table, step 1", {{100, 100, 100}, ChartMode::kBase, 25, 2, 1, 0}, 25, 19, {99, 100, 99}},
      {"plane 1 top left", {{10, 10, 10}, ChartMode::kVariation, 25, 0, 1, 0}, 25, 0, {0, 20, 10}},
      {"plane 2 bottom right", {{10, 10, 10}, ChartMode::kVariation, 25, 1, 1, 1}, 25, 24, {10, 16, 4}},
      {"plane 3 middle", {{10, 10, 10}, ChartMode::kVariation, 25, 0, 1, 2}, 25, 12, {10, 10, 10}},
      {"plane 3 row 1 column 4", {{10, 10, 10}, ChartMode::kVariation, 25, 0, 1, 2}, 25, 9, {20, 10, 15}},
      {"variation of 7 stops after 7", {{9, 9, 9}, ChartMode::kVariation, 7, 2, 0, 0}, 7, 6, {8, 10, 9}},
      {"low end clamps", {{0, 0, 0}, ChartMode::kBase, 25, 0, 1, 0}, 25, 8, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Patch> table = ChartPatches(c.request);
    ASSERT_EQ(table.size(), c.patches);
    Rgb got;
    ASSERT_TRUE(FindPatch(table, c.patch, &got));
    EXPECT_EQ(got, c.colour);
    EXPECT_FALSE(FindPatch(table, int(c.patches), &got));
  }
}

TEST(ReceiptChart, PagesColumnsAndRows) {
  struct Case {
    const char* name;
    int dpi, horz, vert;
    bool fits;
    int columns, rows;
    int patch;
    PatchPlace place;
  };
  const Case cases[] = {
      {"50 x 30 mm label at 600 dpi", 600, 1181, 708, true, 2, 2, 5, {1, 520, 0}},
      {"letter at 600 dpi", 600, 4800, 6600, true, 9, 22, 10, {0, 520, 290}},
      {"300 dpi counts as 600", 300, 600, 300, true, 1, 1, 3, {3, 0, 0}},
      {"1200 dpi", 1200, 2362, 1417, true, 2, 2, 4, {1, 0, 0}},
      {"too narrow", 600, 499, 1000, false, 1, 3, 0, {0, 0, 0}},
      {"too short", 600, 1000, 269, false, 1, 1, 0, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ChartMetrics& m = MetricsFor(c.dpi);
    EXPECT_EQ(m.patchWidth, c.dpi == 1200 ? 1000 : 500);
    const ChartLayout layout = LayoutChart(m, c.horz, c.vert);
    EXPECT_EQ(layout.fits, c.fits);
    EXPECT_EQ(layout.columns, c.columns);
    EXPECT_EQ(layout.rowsPerPage, c.rows);
    const PatchPlace p = PlacePatch(m, layout, c.patch);
    EXPECT_EQ(p.page, c.place.page);
    EXPECT_EQ(p.x, c.place.x);
    EXPECT_EQ(p.y, c.place.y);
    // The last patch of a page ends inside the page, label included.
    if (c.fits) {
      const PatchPlace last = PlacePatch(m, layout, layout.columns * layout.rowsPerPage - 1);
      EXPECT_EQ(last.page, 0);
      EXPECT_LT(last.x + m.patchWidth, c.horz);
      EXPECT_LT(last.y + m.patchHeight + m.labelHeight, c.vert);
    }
  }
}

}  // namespace
}  // namespace vq::receipt
