#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq::test {
namespace {

class PrinterStoreTest : public ::testing::Test {
 protected:
  TestPrinter t;
  std::unique_ptr<PrinterStore> printer = t.Open();
};

TEST_F(PrinterStoreTest, DwordsAreFourBytesOrZero) {
  const unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  t.data->SetDword(u"X_DWORD", 0x12345678);
  // A binary value of `size` bytes (0: none), then what reads as a dword.
  for (auto [size, want] : {std::pair{0, 0u}, {2, 0u}, {8, 0u}, {4, 0x04030201u}}) {
    t.data->values.erase(u"X");
    if (size) t.data->SetBinary(u"X", bytes, size);
    EXPECT_EQ(GetPrinterDword(printer.get(), u"X"), want) << size;
  }
  EXPECT_EQ(GetPrinterDword(printer.get(), u"X_DWORD"), 0x12345678u);
  EXPECT_EQ(GetPrinterDword(nullptr, u"X_DWORD"), 0u);
}

TEST_F(PrinterStoreTest, PaperPositionsAndSizes) {
  const std::vector<PaperInfo> papers = t.Papers();
  ASSERT_GE(papers.size(), 3u);
  const struct { uint32_t id, want; } positions[] = {
      {papers[0].paperId, 0}, {papers[2].paperId, 2}, {9999, 0},
      {kUserDefinedPaper, uint32_t(papers.size() - 1)}};
  for (const auto& c : positions) EXPECT_EQ(PaperIndexOf(printer.get(), c.id), c.want) << c.id;
  PaperInfo found{};
  ASSERT_TRUE(FindPaperInfo(printer.get(), papers[2].paperId, &found));
  EXPECT_EQ(0, std::memcmp(&found, &papers[2], sizeof found));
  EXPECT_FALSE(FindPaperInfo(printer.get(), 9999, &found));

  // A table value below 2 matches only exactly.
  PaperInfo a{}, b{};
  a.paperWidth = 400, a.paperLength = 300;
  b.paperWidth = 1, b.paperLength = 500;
  t.SetPapers({a, b});
  const struct { uint32_t width, length, tolerance; bool want; } sizes[] = {
      {400, 300, 0, true},  {401, 300, 0, false}, {401, 300, 1, true},  {399, 299, 1, true},
      {402, 300, 1, false}, {400, 302, 1, false}, {300, 400, 1, false}, {1, 500, 1, true},
      {2, 500, 1, false},   {0, 500, 1, false},   {1, 501, 1, true},    {1, 499, 0, false}};
  for (const auto& c : sizes)
    EXPECT_EQ(PaperSizeInTable(printer.get(), c.width, c.length, c.tolerance), c.want)
        << c.width << " x " << c.length << " within " << c.tolerance;
}

TEST_F(PrinterStoreTest, PaperTableReadAndWrite) {
  const std::vector<PaperInfo> papers = t.Papers();
  EXPECT_EQ(ReadPaperTable(printer.get()).size(), papers.size());
  t.data->SetDword(pd::kPaperNum, static_cast<uint32_t>(papers.size() + 1));
  EXPECT_TRUE(ReadPaperTable(printer.get()).empty()) << "count disagrees with the value";

  t.data->writeLog.clear();
  ASSERT_TRUE(WritePaperTable(printer.get(), papers.data(), 2));
  EXPECT_EQ(t.data->writeLog, (std::vector<std::u16string>{u"APUI_PAPERINFO", u"APUI_PAPERNUM"}));
  const std::vector<PaperInfo> back = ReadPaperTable(printer.get());
  EXPECT_EQ(RawBytes(back.data(), back.size() * sizeof(PaperInfo)),
            RawBytes(papers.data(), 2 * sizeof(PaperInfo)));

  t.data->writeLog.clear();
  EXPECT_FALSE(WritePaperTable(printer.get(), papers.data(), 0));
  EXPECT_FALSE(WritePaperTable(printer.get(), nullptr, 2));
  EXPECT_TRUE(t.data->writeLog.empty());
  t.data->failWrites = {u"APUI_PAPERINFO", u"APUI_PAPERNUM"};
  EXPECT_TRUE(WritePaperTable(printer.get(), papers.data(), 3)) << "write failures go unreported";
}

TEST_F(PrinterStoreTest, MediaTable) {
  DifmMapping map(t.difm, kModelName);
  const int32_t count = t.difm.DifmGetMediaDataCnt(map.get());
  ASSERT_GE(count, 2);
  std::vector<MediaData> module(count), media;
  t.difm.DifmGetMediaData(map.get(), module.data());
  EXPECT_EQ(ReadMediaTable(printer.get(), nullptr), uint32_t(count));
  ASSERT_EQ(ReadMediaTable(printer.get(), &media), uint32_t(count));
  EXPECT_EQ(RawBytes(media.data(), media.size() * sizeof(MediaData)),
            RawBytes(module.data(), count * sizeof(MediaData)));
  EXPECT_EQ(MediaIndexOf(printer.get(), module[1].mediaId), 1u);
  EXPECT_EQ(MediaIndexOf(printer.get(), 9999), uint32_t(count));

  for (uint32_t wrongCount : {uint32_t(count + 1), uint32_t(count - 1), 0u, 0xFFFFFFFFu}) {
    t.data->SetDword(pd::kMediaDataCount, wrongCount);
    media.assign(1, MediaData{});
    EXPECT_EQ(ReadMediaTable(printer.get(), &media), 0u) << wrongCount;
    EXPECT_TRUE(media.empty());
  }
  t.data->SetDword(pd::kMediaDataCount, count);
  t.data->values.erase(pd::kMediaData);
  EXPECT_EQ(ReadMediaTable(printer.get(), &media), 0u);
  t.data->failWrites = {u"APUI_MEDIADATA"};
  EXPECT_FALSE(WriteMediaTable(printer.get(), module.data(), count));
}

TEST_F(PrinterStoreTest, ProfileListEntries) {
  constexpr uint32_t kEntry = 1056, kTwo = 8 + 2 * kEntry;
  auto list = [](uint32_t total, uint32_t count, size_t entries) {
    std::vector<unsigned char> v(8 + entries * kEntry);
    for (size_t i = 8; i < v.size(); ++i) v[i] = static_cast<unsigned char>((i - 8) / kEntry + 1);
    std::memcpy(v.data(), &total, 4);
    std::memcpy(v.data() + 4, &count, 4);
    return v;
  };
  const struct { const char* what; std::vector<unsigned char> value; uint32_t number; bool want; }
      cases[] = {
          {"first entry", list(kTwo, 2, 2), 1, true},
          {"second entry", list(kTwo, 2, 2), 2, true},
          {"number 0", list(kTwo, 2, 2), 0, false},
          {"past the count", list(kTwo, 2, 2), 3, false},
          {"total one more than the size", list(kTwo + 1, 2, 2), 1, false},
          {"total one less than the size", list(kTwo - 1, 2, 2), 1, false},
          {"count beyond the entries", list(kTwo, 3, 2), 1, false},
          {"a spare entry", list(kTwo + kEntry, 2, 3), 1, false},
          {"header only", list(8, 0, 0), 1, false},
          {"shorter than the header", std::vector<unsigned char>(7, 0), 1, false},
          {"no list", {}, 1, false},
      };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    t.data->values.erase(pd::kProfileList);
    if (!c.value.empty()) t.data->SetBinary(pd::kProfileList, c.value.data(), c.value.size());
    std::vector<unsigned char> out(kEntry, 0xEE);
    ASSERT_EQ(ReadProfileListEntry(printer.get(), c.number, out.data()), c.want);
    if (c.want) EXPECT_EQ(out, std::vector<unsigned char>(kEntry, c.number));
  }
}

TEST(UnitConversion, WorkedValues) {
  // (value x 100 + 127) / 254: 25.4 mm is one inch; halves round up.
  const struct { uint32_t tenthMm, want; } lengths[] = {
      {0, 0}, {1, 0}, {2, 1}, {127, 50}, {254, 100}, {1000, 394}, {5000, 1969}};
  for (const auto& c : lengths) EXPECT_EQ(TenthMmToHundredthInch(c.tenthMm), c.want) << c.tenthMm;
  // ((dots x 254000 / dpi + 500) / 10) x 100 / 254, each step in integers.
  const struct { uint32_t dots, dpi, want; } dots[] = {
      {0, 600, 0},   {600, 600, 10019}, {1200, 1200, 10019}, {300, 600, 5019},
      {1, 1200, 27}, {100000, 300, 3333352} /* beyond 32 bits midway */, {600, 0, 0}};
  for (const auto& c : dots)
    EXPECT_EQ(DotsToHundredthInch(c.dots, c.dpi), c.want) << c.dots << " dots at " << c.dpi;
}

TEST_F(PrinterStoreTest, DriverDirectoryAndHelpFile) {
  const std::u16string dir = u"C:\\windows\\system32\\spool\\drivers\\x64\\3", name = u"VQ312.chm";
  std::u16string out;
  ASSERT_TRUE(GetDriverDirectory(printer.get(), &out));
  EXPECT_EQ(out, dir);
  const struct { const char* what; std::u16string helpFile; const std::u16string* helpName;
                 std::u16string want; } cases[] = {
      {"driver names its help file", u"D:\\help\\other.chm", &name, u"D:\\help\\other.chm"},
      {"help name in the driver directory", u"", &name, dir + u"\\VQ312.chm"},
      {"neither", u"", nullptr, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    t.data->helpFile = c.helpFile;
    t.data->values.erase(pd::kHelpName);
    if (c.helpName) t.data->SetBinary(pd::kHelpName, c.helpName->data(), c.helpName->size() * 2);
    out.clear();
    ASSERT_EQ(GetHelpFilePath(printer.get(), &out), !c.want.empty());
    EXPECT_EQ(out, c.want);
  }
}

}  // namespace
}  // namespace vq::test
