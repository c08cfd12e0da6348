#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "devinfo/difm_api.h"
#include "entry/printer_event.h"
#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq::test {
namespace {

// What an installation writes after the paper and media tables, in order: a
// REG_DWORD from an install default (regId, with bits added) or a constant
// (regId -1), or REG_BINARY zeros (zeros bytes).
struct Seeded {
  const char16_t* name;
  int32_t regId;
  uint32_t value = 0, zeros = 0;
  bool mayFail = false;
};
constexpr Seeded kSeeded[] = {
    {u"APGD_BRASTERSKIPFLAG", 2000}, {u"APGI_BDRIVERCMDFLAG", 2001},
    {u"APGD_BBLOCKSKIPFLAG", -1, 1}, {u"APGD_DWBANDHEIGHT", 2015},
    {u"APGD_DWMASSDOTCNTBLOCKNUM", 2016}, {u"APGD_DWMASSDOTCNTBLOCKUNIT", 2017},
    {u"APGD_DWPEAKDOTCNTBLOCKNUM", 2018}, {u"APGD_DWPEAKDOTCNTBLOCKUNIT", 2019},
    {u"APUI_DWCUTSTOPPOS", 2020}, {u"APUI_DWCUTPOS", 2021},
    {u"APGI_BSTRETCHMODEIGNOREFLAG", 2011}, {u"APUI_DWSLEEPTIMER", 2004}, {u"APUI_BSCALING", 2005},
    {u"APUI_DWPRINTLAYOUT", 2006}, {u"APUI_BUTILITY", 2008}, {u"APUI_BREGPOSITION_BK", 2009},
    {u"APUI_AUTOCUTTER", 2007}, {u"APUI_DWBUTTONFLG", 2013, 0x100},
    {u"APUI_REGPOSITION", -1, 0, 12},
    {u"APGD_DWMCC4DEVFLAG", 2010}, {u"APGD_MCC4DUTYPARAM", -1, 0, 4},
    {u"APGD_RECEIPTCOLMSG", -1, 0, 8}, {u"APGD_HSDATA", -1, 0, 1}, {u"APUI_BYINKWSRESETFLAG", 2012},
    {u"APUI_PAPERSUPCOUNT", 2024, 0, 0, true}, {u"APUI_PAPERUSERMAX", 2025, 0, 0, true},
    {u"APUI_PAPERNUM", 2026, 0, 0, true}, {u"APUI_DWSTMONSTARTFLAG", -1},
    {u"APSM_DWSTMONPRINTFLAG", -1}, {u"APUI_ENTRYSET", -1, 0, 13880},
    {u"APUI_ENTRYSETDEFNUM", 2027}, {u"APUI_ENTRYSETNUM", 2028}, {u"APUI_ENTRYSETMAXNUM", 2029},
};

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

TEST_F(PrinterEventTest, InstallWritesEveryValueInOrder) {
  ASSERT_EQ(SeedNewPrinter(kPrinter, t.svc), 1);
  std::vector<std::u16string> order{u"APUI_PAPERINFO", u"APUI_MEDIADATA", u"APUI_MEDIADATACOUNT"};
  for (const Seeded& s : kSeeded) order.push_back(s.name);
  order.push_back(u"APUI_DRVHELPNAME");
  EXPECT_EQ(t.data->writeLog, order);

  DifmMapping map(t.difm, kModelName);
  std::vector<PaperInfo> papers(t.difm.DifmGetPaperInfo(map.get(), nullptr, 0));
  t.difm.DifmGetPaperInfo(map.get(), papers.data(), 0);
  std::vector<MediaData> media(t.difm.DifmGetMediaDataCnt(map.get()));
  t.difm.DifmGetMediaData(map.get(), media.data());
  const uint32_t mediaCount = static_cast<uint32_t>(media.size());
  const std::u16string help = u"VQ312.chm";
  std::vector<std::tuple<std::u16string, uint32_t, std::vector<unsigned char>>> want = {
      {u"APUI_PAPERINFO", kRegBinary, RawBytes(papers.data(), papers.size() * kPaperInfoSize)},
      {u"APUI_MEDIADATA", kRegBinary, RawBytes(media.data(), media.size() * kMediaDataSize)},
      {u"APUI_MEDIADATACOUNT", kRegDword, RawBytes(&mediaCount, 4)},
      {u"APUI_DRVHELPNAME", kRegSz, RawBytes(help.data(), help.size() * 2)}};  // no terminator
  for (const Seeded& s : kSeeded) {
    const uint32_t dword = s.regId < 0 ? s.value : RegData(s.regId) | s.value;
    want.emplace_back(s.name, s.zeros ? kRegBinary : kRegDword,
                      s.zeros ? std::vector<unsigned char>(s.zeros, 0) : RawBytes(&dword, 4));
  }
  for (const auto& [name, type, bytes] : want) {
    const MemoryPrinter::Value* v = Value(name);
    ASSERT_NE(v, nullptr) << Narrow(name);
    EXPECT_EQ(std::tie(v->type, v->bytes), std::tie(type, bytes)) << Narrow(name);
  }
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

TEST_F(PrinterEventTest, NoMediaAndNoStoredDeviceMode) {
  t.difm.DifmGetMediaDataCnt = [](DifmHandle) { return 0; };
  t.data->devMode.clear();
  ASSERT_EQ(SeedNewPrinter(kPrinter, t.svc), 1);
  EXPECT_EQ(Value(u"APUI_MEDIADATA"), nullptr);
  EXPECT_EQ(Value(u"APUI_MEDIADATACOUNT"), nullptr);
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
  for (const Seeded& failing : kSeeded) {
    TestPrinter p{false};
    p.data->failWrites = {failing.name};
    ASSERT_EQ(SeedNewPrinter(kPrinter, p.svc), failing.mayFail ? 1 : 0) << Narrow(failing.name);
    if (failing.mayFail) continue;
    bool before = true;  // values written before the failure stay written
    for (const Seeded& s : kSeeded) {
      before = before && &s != &failing;
      EXPECT_EQ(p.data->Has(s.name), before) << Narrow(failing.name) << ": " << Narrow(s.name);
    }
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
