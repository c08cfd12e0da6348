#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "devinfo/difm_api.h"
#include "entry/printer_event.h"
#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq::test {
namespace {

// What an installation writes after the paper and media tables, in order:
// a REG_DWORD (4) from an install default (regId, with bits added) or a
// constant (regId -1), or REG_BINARY (3) zeros.
struct Seeded { const char16_t* name; uint32_t type, size; int32_t regId; uint32_t value;
                bool mayFail; };
constexpr Seeded kSeeded[] = {
    {u"APGD_BRASTERSKIPFLAG", 4, 4, 2000, 0, false}, {u"APGI_BDRIVERCMDFLAG", 4, 4, 2001, 0, false},
    {u"APGD_BBLOCKSKIPFLAG", 4, 4, -1, 1, false}, {u"APGD_DWBANDHEIGHT", 4, 4, 2015, 0, false},
    {u"APGD_DWMASSDOTCNTBLOCKNUM", 4, 4, 2016, 0, false},
    {u"APGD_DWMASSDOTCNTBLOCKUNIT", 4, 4, 2017, 0, false},
    {u"APGD_DWPEAKDOTCNTBLOCKNUM", 4, 4, 2018, 0, false},
    {u"APGD_DWPEAKDOTCNTBLOCKUNIT", 4, 4, 2019, 0, false},
    {u"APUI_DWCUTSTOPPOS", 4, 4, 2020, 0, false}, {u"APUI_DWCUTPOS", 4, 4, 2021, 0, false},
    {u"APGI_BSTRETCHMODEIGNOREFLAG", 4, 4, 2011, 0, false},
    {u"APUI_DWSLEEPTIMER", 4, 4, 2004, 0, false}, {u"APUI_BSCALING", 4, 4, 2005, 0, false},
    {u"APUI_DWPRINTLAYOUT", 4, 4, 2006, 0, false}, {u"APUI_BUTILITY", 4, 4, 2008, 0, false},
    {u"APUI_BREGPOSITION_BK", 4, 4, 2009, 0, false}, {u"APUI_AUTOCUTTER", 4, 4, 2007, 0, false},
    {u"APUI_DWBUTTONFLG", 4, 4, 2013, 0x100, false}, {u"APUI_REGPOSITION", 3, 12, -1, 0, false},
    {u"APGD_DWMCC4DEVFLAG", 4, 4, 2010, 0, false}, {u"APGD_MCC4DUTYPARAM", 3, 4, -1, 0, false},
    {u"APGD_RECEIPTCOLMSG", 3, 8, -1, 0, false}, {u"APGD_HSDATA", 3, 1, -1, 0, false},
    {u"APUI_BYINKWSRESETFLAG", 4, 4, 2012, 0, false}, {u"APUI_PAPERSUPCOUNT", 4, 4, 2024, 0, true},
    {u"APUI_PAPERUSERMAX", 4, 4, 2025, 0, true}, {u"APUI_PAPERNUM", 4, 4, 2026, 0, true},
    {u"APUI_DWSTMONSTARTFLAG", 4, 4, -1, 0, false}, {u"APSM_DWSTMONPRINTFLAG", 4, 4, -1, 0, false},
    {u"APUI_ENTRYSET", 3, 13880, -1, 0, false}, {u"APUI_ENTRYSETDEFNUM", 4, 4, 2027, 0, false},
    {u"APUI_ENTRYSETNUM", 4, 4, 2028, 0, false}, {u"APUI_ENTRYSETMAXNUM", 4, 4, 2029, 0, false},
};

std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

std::vector<unsigned char> Bytes(const void* p, size_t n) {
  return {static_cast<const unsigned char*>(p), static_cast<const unsigned char*>(p) + n};
}

DifmHandle NoMapping(uint32_t, const char16_t*) { return nullptr; }

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
  const MemoryPrinter::Value* Value(const char16_t* name) {
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

  for (const Seeded& s : kSeeded) {
    SCOPED_TRACE(Narrow(s.name));
    const MemoryPrinter::Value* v = Value(s.name);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->type, s.type);
    const uint32_t dword = s.regId < 0 ? s.value : RegData(s.regId) | s.value;
    EXPECT_EQ(v->bytes, s.type == kRegBinary ? std::vector<unsigned char>(s.size, 0)
                                             : Bytes(&dword, 4));
  }

  DifmMapping map(t.difm, kModelName);
  std::vector<PaperInfo> papers(t.difm.DifmGetPaperInfo(map.get(), nullptr, 0));
  t.difm.DifmGetPaperInfo(map.get(), papers.data(), 0);
  std::vector<MediaData> media(t.difm.DifmGetMediaDataCnt(map.get()));
  t.difm.DifmGetMediaData(map.get(), media.data());
  const uint32_t mediaCount = static_cast<uint32_t>(media.size());
  const std::u16string help = u"VQ312.chm";
  const struct { const char16_t* name; uint32_t type; std::vector<unsigned char> bytes; }
      tables[] = {
      {u"APUI_PAPERINFO", kRegBinary, Bytes(papers.data(), papers.size() * kPaperInfoSize)},
      {u"APUI_MEDIADATA", kRegBinary, Bytes(media.data(), media.size() * kMediaDataSize)},
      {u"APUI_MEDIADATACOUNT", kRegDword, Bytes(&mediaCount, 4)},
      {u"APUI_DRVHELPNAME", kRegSz, Bytes(help.data(), help.size() * 2)},  // no terminator
  };
  for (const auto& v : tables) {
    ASSERT_NE(Value(v.name), nullptr) << Narrow(v.name);
    EXPECT_EQ(Value(v.name)->type, v.type) << Narrow(v.name);
    EXPECT_EQ(Value(v.name)->bytes, v.bytes) << Narrow(v.name);
  }
  // The device mode is stored before the tables and values exist: the
  // defaults of a printer with no paper table and no scaling value.
  const JobSettings defaults = TestPrinter{false}.Defaults();
  EXPECT_EQ(t.data->devMode, Bytes(&defaults, kJobSettingsSize));
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
    SCOPED_TRACE(Narrow(failing.name));
    TestPrinter p{false};
    p.data->failWrites = {failing.name};
    ASSERT_EQ(SeedNewPrinter(kPrinter, p.svc), failing.mayFail ? 1 : 0);
    if (failing.mayFail) continue;
    bool before = true;  // values written before the failure stay written
    for (const Seeded& s : kSeeded) {
      before = before && &s != &failing;
      EXPECT_EQ(p.data->Has(s.name), before) << Narrow(s.name);
    }
  }
  TestPrinter p{false};
  p.data->failWrites = {u"APUI_DRVHELPNAME"};
  EXPECT_EQ(SeedNewPrinter(kPrinter, p.svc), 0);
}

TEST_F(PrinterEventTest, FailuresBeforeAndAfterTheModule) {
  const struct { const char* what; void (*breakIt)(TestPrinter&); int32_t want; } cases[] = {
      {"no administrator access", [](TestPrinter& p) { p.data->denyAdmin = true; }, 0},
      {"module cannot be mapped", [](TestPrinter& p) { p.difm.DifmMapper = NoMapping; }, -1},
      {"module cannot be unmapped",
       [](TestPrinter& p) { p.difm.DifmUnMapper = [](uint32_t, DifmHandle) { return 0; }; }, -1},
      {"no help file", [](TestPrinter& p) { p.data->helpFile.clear(); }, 0},
      {"help file without folder", [](TestPrinter& p) { p.data->helpFile = u"VQ312.chm"; }, 0},
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
