#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "devinfo/difm_api.h"
#include "entry/printer_event.h"
#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq::test {
namespace {

// Printer data installation leaves alone: the pages and the rendering module
// write these later.
const std::set<std::u16string> kNotInstalled = {
    u"APUI_REGPAPERTYPE",  u"APUI_SPECIALSET",      u"APUI_SPECIALSET_02",
    u"APUI_SPECIALSET_03", u"APUI_SPECIALTEAROFF",  u"APUI_ICPMPROFILELIST",
    u"APGD_RECEIPTCOL",    u"APGD_RECEIPTCOLDEVMODE"};
// Writes whose failure does not stop the installation.
const std::set<std::u16string> kMayFail = {
    u"APUI_PAPERINFO",     u"APUI_MEDIADATA",    u"APUI_MEDIADATACOUNT",
    u"APUI_PAPERSUPCOUNT", u"APUI_PAPERUSERMAX", u"APUI_PAPERNUM"};

std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

uint32_t g_buttonFlags = 0;
int32_t FakeRegData(DifmHandle h, uint32_t id, void* buf, uint32_t bytes) {
  if (id != 2013) return ::DifmLoadRegData(h, id, buf, bytes);
  std::memcpy(buf, &g_buttonFlags, 4);
  return 1;
}

class PrinterEventTest : public ::testing::Test {
 protected:
  uint32_t RegData(uint32_t id) {
    DifmMapping map(t.difm, kModelName);
    uint32_t v = 0;
    EXPECT_TRUE(t.difm.DifmLoadRegData(map.get(), id, &v, 4)) << id;
    return v;
  }
  const MemoryPrinter::Value* Value(const std::u16string& name) {
    auto it = t.data->values.find(name);
    return it == t.data->values.end() ? nullptr : &it->second;
  }
  TestPrinter t{false};
};

// Every value of the printer-data table that has an install value is written
// once, with the table's type and size; the tables come first, the help
// file's name last. A few values by their source.
TEST_F(PrinterEventTest, InstallWritesEveryInstalledValueOnce) {
  ASSERT_EQ(SeedNewPrinter(kPrinter, t.svc), 1);
  const std::vector<std::u16string>& log = t.data->writeLog;
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(std::vector(log.begin(), log.begin() + 3),
            (std::vector<std::u16string>{u"APUI_PAPERINFO", u"APUI_MEDIADATA", u"APUI_MEDIADATACOUNT"}));
  EXPECT_EQ(log.back(), u"APUI_DRVHELPNAME");
  std::set<std::u16string> expected;
  for (size_t i = 0; i < kPrinterValueCount; ++i) {
    const PrinterValueInfo& info = kPrinterValues[i];
    if (kNotInstalled.count(info.name)) continue;
    expected.insert(info.name);
    const MemoryPrinter::Value* v = Value(info.name);
    ASSERT_NE(v, nullptr) << Narrow(info.name);
    EXPECT_EQ(v->type, info.type) << Narrow(info.name);
    if (info.size) {
      EXPECT_EQ(v->bytes.size(), info.size) << Narrow(info.name);
    }
  }
  EXPECT_EQ(std::set(log.begin(), log.end()), expected);
  EXPECT_EQ(log.size(), expected.size()) << "a value written twice";

  DifmMapping map(t.difm, kModelName);
  std::vector<PaperInfo> papers(t.difm.DifmGetPaperInfo(map.get(), nullptr, 0));
  t.difm.DifmGetPaperInfo(map.get(), papers.data(), 0);
  std::vector<MediaData> media(t.difm.DifmGetMediaDataCnt(map.get()));
  t.difm.DifmGetMediaData(map.get(), media.data());
  const uint32_t mediaCount = static_cast<uint32_t>(media.size()), one = 1, zero = 0;
  auto dword = [](uint32_t v) { return RawBytes(&v, 4); };
  const std::u16string help = u"VQ312.chm";
  const std::tuple<std::u16string, std::vector<unsigned char>> want[] = {
      {u"APUI_PAPERINFO", RawBytes(papers.data(), papers.size() * kPaperInfoSize)},
      {u"APUI_MEDIADATA", RawBytes(media.data(), media.size() * kMediaDataSize)},
      {u"APUI_MEDIADATACOUNT", RawBytes(&mediaCount, 4)},
      {u"APUI_DRVHELPNAME", RawBytes(help.data(), help.size() * 2)},  // no terminator
      {u"APGD_BBLOCKSKIPFLAG", RawBytes(&one, 4)},
      {u"APSM_DWSTMONPRINTFLAG", RawBytes(&zero, 4)},
      {u"APUI_DWSLEEPTIMER", dword(RegData(2004))},
      {u"APUI_DWCUTPOS", dword(RegData(2021))},
      {u"APUI_PAPERNUM", dword(RegData(2026))},
      {u"APUI_ENTRYSETMAXNUM", dword(RegData(2029))},
      {u"APUI_REGPOSITION", std::vector<unsigned char>(12, 0)},
      {u"APGD_HSDATA", std::vector<unsigned char>(1, 0)}};
  for (const auto& [name, bytes] : want) EXPECT_EQ(Value(name)->bytes, bytes) << Narrow(name);
  // The device mode is stored before the tables and values exist: the
  // defaults of a printer with no paper table and no scaling value.
  const JobSettings defaults = TestPrinter{false}.Defaults();
  EXPECT_EQ(t.data->devMode, RawBytes(&defaults, kJobSettingsSize));
}

TEST_F(PrinterEventTest, ButtonFlagsAlwaysOfferTheCutter) {
  t.difm.DifmLoadRegData = FakeRegData;
  for (uint32_t flags : {0u, 0x100u, 0xFFFFFEFFu, 0x1B67Bu}) {
    g_buttonFlags = flags;
    ASSERT_EQ(SeedNewPrinter(kPrinter, t.svc), 1);
    EXPECT_EQ(GetPrinterDword(t.Open().get(), u"APUI_DWBUTTONFLG"), flags | 0x100) << flags;
  }
}

TEST_F(PrinterEventTest, NoPapersNoMediaAndNoStoredDeviceMode) {
  t.difm.DifmGetMediaDataCnt = [](DifmHandle) { return 0; };
  t.difm.DifmGetPaperInfo = [](DifmHandle, void*, uint32_t) { return 0; };
  t.data->devMode.clear();
  ASSERT_EQ(SeedNewPrinter(kPrinter, t.svc), 1);
  ASSERT_NE(Value(u"APUI_PAPERINFO"), nullptr) << "an empty paper table is still written";
  EXPECT_TRUE(Value(u"APUI_PAPERINFO")->bytes.empty());
  EXPECT_EQ(Value(u"APUI_MEDIADATA"), nullptr);
  EXPECT_EQ(Value(u"APUI_MEDIADATACOUNT"), nullptr);
  EXPECT_EQ(Value(u"APUI_DRVHELPNAME")->type, kRegSz) << "the rest is seeded";
  EXPECT_TRUE(t.data->devMode.empty()) << "a printer without a device mode gets none";
}

TEST_F(PrinterEventTest, InstallingAgainRewritesAndEmptiesFavourites) {
  ASSERT_EQ(SeedNewPrinter(kPrinter, t.svc), 1);
  const std::vector<unsigned char> used(13880, 0x11);
  t.data->SetBinary(u"APUI_ENTRYSET", used.data(), used.size());
  t.data->SetDword(u"APUI_ENTRYSETNUM", 3);
  t.data->SetDword(u"APUI_DWSLEEPTIMER", 1);
  ASSERT_EQ(SeedNewPrinter(kPrinter, t.svc), 1);
  EXPECT_EQ(Value(u"APUI_ENTRYSET")->bytes, std::vector<unsigned char>(13880, 0));
  auto printer = t.Open();
  EXPECT_EQ(GetPrinterDword(printer.get(), u"APUI_ENTRYSETNUM"), RegData(2028));
  EXPECT_EQ(GetPrinterDword(printer.get(), u"APUI_DWSLEEPTIMER"), RegData(2004));
}

TEST_F(PrinterEventTest, AFailedWriteStopsUnlessItMayFail) {
  ASSERT_EQ(SeedNewPrinter(kPrinter, t.svc), 1);
  const std::vector<std::u16string> sequence = t.data->writeLog;
  for (const std::u16string& failing : sequence) {
    TestPrinter p{false};
    p.data->failWrites = {failing};
    ASSERT_EQ(SeedNewPrinter(kPrinter, p.svc), kMayFail.count(failing) ? 1 : 0) << Narrow(failing);
    // The failed write is the last one when it stops the installation;
    // values written before it stay written.
    const auto at = std::find(sequence.begin(), sequence.end(), failing);
    EXPECT_EQ(p.data->writeLog, kMayFail.count(failing)
                                    ? sequence
                                    : std::vector<std::u16string>(sequence.begin(), at + 1))
        << Narrow(failing);
    EXPECT_FALSE(p.data->Has(failing)) << Narrow(failing);
  }
}

TEST_F(PrinterEventTest, FailuresBeforeAndAfterTheModule) {
  const struct { const char* what; void (*breakIt)(TestPrinter&); int32_t want; } cases[] = {
      {"no administrator access", [](TestPrinter& p) { p.data->denyAdmin = true; }, 0},
      {"module cannot be mapped", [](TestPrinter& p) { p.difm.DifmMapper = NoMapping; }, -1},
      {"module cannot be unmapped",
       [](TestPrinter& p) { p.difm.DifmUnMapper = [](uint32_t, DifmHandle) { return 0; }; }, -1},
      {"no help file", [](TestPrinter& p) { p.data->helpFile.clear(); }, 0},
      {"help file without folder", [](TestPrinter& p) { p.data->helpFile = u"VQ312.chm"; }, 0},
      {"help name not written",
       [](TestPrinter& p) { p.data->failWrites = {u"APUI_DRVHELPNAME"}; }, 0},
  };
  for (const auto& c : cases) {
    TestPrinter p{false};
    c.breakIt(p);
    EXPECT_EQ(SeedNewPrinter(kPrinter, p.svc), c.want) << c.what;
  }
  EXPECT_EQ(SeedNewPrinter(u"Another printer", t.svc), 0);
  EXPECT_TRUE(t.data->writeLog.empty());
}

TEST_F(PrinterEventTest, OnlyTheFirstConnectionOfAProcessReads) {
  ConnectPrinterOnce(kPrinter, t.svc);
  EXPECT_EQ(ConnectPrinterOnce(kPrinter, t.svc), 0);
}

}  // namespace
}  // namespace vq::test
