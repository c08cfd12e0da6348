// The installed driver seen through Wine's real winspool: what installation
// stored, and what DocumentPropertiesW without a prompt makes of incoming
// device modes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/printer_store.h"
#include "settings/printer_store_win.h"
#include "tests/wine/installed_printer.h"
#include "uicore/messages_win.h"

namespace vq::wine {
namespace {

class InstalledPrinter : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer_) << "the install fixture did not create the printer";
    ASSERT_TRUE(difm_.Complete()) << "VQ312DI.dll is not installed beside the UI module";
  }
  JobSettings Defaults() {
    JobSettings js{};
    EXPECT_TRUE(SetDefaultJobSettings(&js, svc_));
    return js;
  }

  Printer printer_;
  DifmApi difm_ = InstalledDifm();
  Win32Spooler spooler_;
  DriverServices svc_{&difm_, &spooler_};
};

// What installation wrote, as the real spooler stored it: every value of
// the printer-data table that is there has the table's type and size, a few
// by their source, the module's tables and the help file's name.
TEST_F(InstalledPrinter, StoresWhatInstallationWrites) {
  DifmMapping map(difm_, kModelName);
  size_t present = 0;
  for (size_t i = 0; i < kPrinterValueCount; ++i) {
    const PrinterValueInfo& info = kPrinterValues[i];
    std::vector<unsigned char> bytes;
    DWORD type = 0;
    if (!ReadValue(printer_.get(), W(info.name), &bytes, &type)) continue;
    ++present;
    EXPECT_EQ(type, info.type) << i;
    if (info.size) {
      EXPECT_EQ(bytes.size(), info.size) << i;
    }
  }
  EXPECT_GE(present, 36u) << "installation writes 37 values, the help name included";
  auto dword = [&](const wchar_t* name) {
    uint32_t v = 0xDEADBEEF;
    std::vector<unsigned char> bytes;
    DWORD type = 0;
    if (ReadValue(printer_.get(), name, &bytes, &type) && bytes.size() == 4) std::memcpy(&v, bytes.data(), 4);
    return v;
  };
  auto regData = [&](uint32_t id) {
    uint32_t v = 0;
    difm_.DifmLoadRegData(map.get(), id, &v, 4);
    return v;
  };
  EXPECT_EQ(dword(L"APUI_DWBUTTONFLG"), regData(2013) | 0x100);
  EXPECT_EQ(dword(L"APUI_DWSLEEPTIMER"), regData(2004));
  EXPECT_EQ(dword(L"APGD_BBLOCKSKIPFLAG"), 1u);
  EXPECT_EQ(dword(L"APUI_ENTRYSETMAXNUM"), regData(2029));
  std::vector<unsigned char> papers(kPaperInfoSize * difm_.DifmGetPaperInfo(map.get(), nullptr, 0)), bytes;
  difm_.DifmGetPaperInfo(map.get(), papers.data(), 0);
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(printer_.get(), L"APUI_PAPERINFO", &bytes, &type));
  EXPECT_EQ(bytes, papers);
  ASSERT_TRUE(ReadValue(printer_.get(), L"APUI_DRVHELPNAME", &bytes, &type));
  const std::wstring help(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  EXPECT_STREQ(help.c_str(), L"VQ312.chm");

  // The default was stored before the paper table existed: a count of 0,
  // which validation brings up to date. Wine empties the stored form name.
  const std::vector<unsigned char> stored = StoredDevMode(printer_.get());
  ASSERT_EQ(stored.size(), kJobSettingsSize);
  JobSettings expectedDm = Defaults(), actual;
  std::memcpy(&actual, stored.data(), kJobSettingsSize);
  expectedDm.PaperCount = actual.PaperCount;
  EXPECT_EQ(0, std::memcmp(&actual.Signature, &expectedDm.Signature, kPrivateSize));
}

// Incoming device modes and what the driver hands back; whatever it hands
// out comes back unchanged.
TEST_F(InstalledPrinter, RepairsIncomingDeviceModes) {
  ASSERT_EQ(DocumentProperties(printer_.get(), nullptr, nullptr, 0), static_cast<LONG>(kJobSettingsSize));
  const JobSettings defaults = Defaults();
  PaperInfo label76{}, custom{};
  Win32PrinterStore store(printer_.get(), false);
  ASSERT_TRUE(FindPaperInfo(&store, 1005, &label76));
  ASSERT_TRUE(FindPaperInfo(&store, kUserDefinedPaper, &custom));
  struct Case {
    const char* name;
    int16_t copies, paper, width, length, quality;
    uint32_t lock;
    int16_t wantCopies, wantWidth, wantLength, wantQuality, wantOrientation;
  };
  const int16_t w76 = static_cast<int16_t>(label76.paperWidth), l76 = static_cast<int16_t>(label76.paperLength);
  const int16_t dw = defaults.dmPaperWidth, dl = defaults.dmPaperLength, dq = defaults.dmPrintQuality;
  const Case cases[] = {
      {"copies 0 becomes 1", 0, defaults.dmPaperSize, dw, dl, dq, 0, 1, dw, dl, dq, 1},
      {"copies above the maximum", 30000, defaults.dmPaperSize, dw, dl, dq, 0, 999, dw, dl, dq, 1},
      {"standard paper takes the table's size", 1, 1005, 1, 2, dq, 0, 1, w76, l76, dq, 1},
      {"highest quality is the finer resolution", 1, defaults.dmPaperSize, dw, dl, -4, 0, 1, dw, dl, 1200, 1},
      {"unknown resolution falls back", 1, defaults.dmPaperSize, dw, dl, 300, 0, 1, dw, dl, dq, 1},
      {"landscape lock turns the page", 1, defaults.dmPaperSize, dw, dl, dq, 4, 1, dw, dl, dq, 2},
      {"custom width beyond the limit is reset", 1, 256, 2000, 800, dq, 0, 1,
       static_cast<int16_t>(custom.paperWidth), 800, dq, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JobSettings in = defaults, out{}, again{};
    in.dmCopies = c.copies;
    in.dmPaperSize = c.paper;
    in.dmPaperWidth = c.width;
    in.dmPaperLength = c.length;
    in.dmPrintQuality = c.quality;
    in.OrientationLock = c.lock;
    if (c.paper == 256) in.Paper.paperId = 256;
    ASSERT_EQ(DocumentProperties(printer_.get(), &in, &out, DM_IN_BUFFER | DM_OUT_BUFFER), 1);
    EXPECT_EQ(out.dmCopies, c.wantCopies);
    EXPECT_EQ(out.dmPaperWidth, c.wantWidth);
    EXPECT_EQ(out.dmPaperLength, c.wantLength);
    EXPECT_EQ(out.dmPrintQuality, c.wantQuality);
    EXPECT_EQ(out.dmYResolution, c.wantQuality);
    EXPECT_EQ(out.dmOrientation, c.wantOrientation);
    ASSERT_EQ(DocumentProperties(printer_.get(), &out, &again, DM_IN_BUFFER | DM_OUT_BUFFER), 1);
    EXPECT_EQ(0, std::memcmp(&again, &out, kJobSettingsSize));
  }
}

// Another driver's device mode is not ours to repair: the caller gets the
// stored per-user default (Wine keeps one device mode for both), without
// the caller's orientation.
TEST_F(InstalledPrinter, ForeignDeviceModesGetTheStoredDefault) {
  JobSettings stored{};
  ASSERT_EQ(DocumentProperties(printer_.get(), nullptr, &stored, DM_OUT_BUFFER), 1);
  ASSERT_TRUE(HasSignature(stored));
  JobSettings foreign = Defaults(), otherSignature = Defaults();
  foreign.dmDriverExtra = 0;
  foreign.dmOrientation = 2;
  otherSignature.Signature[0] = u'X';
  for (const JobSettings* in : {&foreign, &otherSignature}) {
    JobSettings out{};
    ASSERT_EQ(DocumentProperties(printer_.get(), in, &out, DM_IN_BUFFER | DM_OUT_BUFFER | DM_MODIFY), 1);
    EXPECT_EQ(0, std::memcmp(&out, &stored, kJobSettingsSize));
  }
}

TEST(DriverExports, DriverEventAndUpgradeAcceptEverything) {
  HMODULE ui = LoadInstalledModule(L"VQ312UI.dll");
  ASSERT_NE(ui, nullptr);
  auto event = reinterpret_cast<BOOL(WINAPI*)(DWORD, DWORD, LPBYTE, LPARAM)>(
      reinterpret_cast<void*>(GetProcAddress(ui, "DrvDriverEvent")));
  auto upgrade = reinterpret_cast<BOOL(WINAPI*)(DWORD, LPBYTE)>(
      reinterpret_cast<void*>(GetProcAddress(ui, "DrvUpgradePrinter")));
  ASSERT_TRUE(event && upgrade);
  for (DWORD e : {1u, 2u, 3u, 99u}) EXPECT_TRUE(event(e, 0, nullptr, 0));
  EXPECT_TRUE(upgrade(1, nullptr));
  FreeLibrary(ui);
}

// The refusal of administration is told in the user's words: the message
// box's caption and text, read back from the window and closed.
TEST(AdminAccess, RefusalIsToldInTheUsersWords) {
  EXPECT_TRUE(CheckPrinterAdminAccess(nullptr, kPrinterName, TRUE));
  EXPECT_FALSE(CheckPrinterAdminAccess(nullptr, L"No such printer", FALSE));
  struct Seen {
    wchar_t caption[128] = {}, text[512] = {};
  } seen;
  HANDLE watcher = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* s = static_cast<Seen*>(p);
        for (int i = 0; i < 200; ++i, Sleep(25)) {
          if (HWND box = FindWindowW(L"#32770", nullptr)) {
            GetWindowTextW(box, s->caption, 128);
            GetDlgItemTextW(box, 0xFFFF, s->text, 512);  // the message box's text static
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return 0;
          }
        }
        return 1;
      },
      &seen, 0, nullptr);
  EXPECT_FALSE(CheckPrinterAdminAccess(nullptr, L"No such printer", TRUE));
  WaitForSingleObject(watcher, 10000);
  CloseHandle(watcher);
  EXPECT_STREQ(seen.caption, L"Morva VT-Q3120");
  EXPECT_NE(std::wstring(seen.text).find(L"permission"), std::wstring::npos) << seen.text;
}

}  // namespace
}  // namespace vq::wine
