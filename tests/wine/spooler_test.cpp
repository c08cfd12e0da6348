// The installed driver seen through Wine's real winspool: what installation
// stored, and what DocumentPropertiesW without a prompt makes of incoming
// device modes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "entry/printer_event.h"
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

  // The driver's defaults, computed here with the installed device module.
  JobSettings Defaults() {
    JobSettings js{};
    EXPECT_TRUE(SetDefaultJobSettings(&js, svc_));
    return js;
  }

  uint32_t InstallDefault(int32_t id) {
    DifmMapping map(difm_, kModelName);
    uint32_t v = 0;
    EXPECT_TRUE(difm_.DifmLoadRegData(map.get(), static_cast<uint32_t>(id), &v, 4)) << id;
    return v;
  }

  Printer printer_;
  DifmApi difm_ = InstalledDifm();
  Win32Spooler spooler_;
  DriverServices svc_{&difm_, &spooler_};
};

TEST_F(InstalledPrinter, StoresEveryInstallValue) {
  for (size_t i = 0; i < kInstallValueCount; ++i) {
    const InstallValue& v = kInstallValues[i];
    SCOPED_TRACE(testing::Message() << "value " << std::string(v.name, v.name + 20));
    std::vector<unsigned char> bytes;
    DWORD type = 0;
    ASSERT_TRUE(ReadValue(printer_.get(), W(v.name), &bytes, &type));
    EXPECT_EQ(type, v.type);
    if (v.type == kRegBinary) {
      EXPECT_EQ(bytes, std::vector<unsigned char>(v.zeroBytes, 0));
      continue;
    }
    ASSERT_EQ(bytes.size(), 4u);
    uint32_t stored;
    std::memcpy(&stored, bytes.data(), 4);
    const uint32_t expected = v.regId >= 0 ? InstallDefault(v.regId) | v.value : v.value;
    EXPECT_EQ(stored, expected);
  }
}

TEST_F(InstalledPrinter, StoresTheModuleTablesAndHelpName) {
  DifmMapping map(difm_, kModelName);
  std::vector<unsigned char> papers(kPaperInfoSize * difm_.DifmGetPaperInfo(map.get(), nullptr, 0));
  difm_.DifmGetPaperInfo(map.get(), papers.data(), 0);
  std::vector<unsigned char> media(kMediaDataSize * difm_.DifmGetMediaDataCnt(map.get()));
  difm_.DifmGetMediaData(map.get(), media.data());

  std::vector<unsigned char> bytes;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(printer_.get(), L"APUI_PAPERINFO", &bytes, &type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(bytes, papers);
  ASSERT_TRUE(ReadValue(printer_.get(), L"APUI_MEDIADATA", &bytes, &type));
  EXPECT_EQ(bytes, media);
  Win32PrinterStore store(printer_.get(), false);
  EXPECT_EQ(GetPrinterDword(&store, pd::kMediaDataCount), media.size() / kMediaDataSize);

  ASSERT_TRUE(ReadValue(printer_.get(), L"APUI_DRVHELPNAME", &bytes, &type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  const std::wstring name(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  EXPECT_EQ(name.substr(0, name.find(L'\0')), L"VQ312.chm");
}

TEST_F(InstalledPrinter, StoredDefaultIsTheDriversDefault) {
  const std::vector<unsigned char> stored = StoredDevMode(printer_.get());
  ASSERT_EQ(stored.size(), kJobSettingsSize);
  JobSettings expected = Defaults(), actual;
  std::memcpy(&actual, stored.data(), kJobSettingsSize);
  // The default is stored before the paper table is written, so a first
  // installation stores a count of 0; validation brings it up to date.
  EXPECT_TRUE(actual.PaperCount == 0 || actual.PaperCount == expected.PaperCount);
  expected.PaperCount = actual.PaperCount;
  // Wine's SetPrinterW empties the public form name of what it stores; the
  // private part must come back whole.
  EXPECT_EQ(0, std::memcmp(&actual.Signature, &expected.Signature, kPrivateSize));
  EXPECT_EQ(actual.dmPaperSize, expected.dmPaperSize);
  EXPECT_EQ(actual.dmPrintQuality, expected.dmPrintQuality);
}

TEST_F(InstalledPrinter, SizeQueryAnswersTheRecordSize) {
  EXPECT_EQ(DocumentProperties(printer_.get(), nullptr, nullptr, 0),
            static_cast<LONG>(kJobSettingsSize));
}

// Incoming device modes and what the driver hands back for them. Expected
// values come from the rules and the device module's tables.
TEST_F(InstalledPrinter, RepairsIncomingDeviceModes) {
  const JobSettings defaults = Defaults();
  PaperInfo label76{}, custom{};
  {
    Win32PrinterStore store(printer_.get(), false);
    ASSERT_TRUE(FindPaperInfo(&store, 1005, &label76));
    ASSERT_TRUE(FindPaperInfo(&store, kUserDefinedPaper, &custom));
  }
  DifmMapping map(difm_, kModelName);
  const int16_t maxCopies = static_cast<int16_t>(difm_.DifmGetCopiesInf(map.get()));

  struct Case {
    const char* name;
    void (*edit)(JobSettings&);
    void (*check)(const JobSettings& out, const JobSettings& defaults, const PaperInfo& label76,
                  const PaperInfo& custom, int16_t maxCopies);
  };
  const Case cases[] = {
      {"copies 0 becomes 1", [](JobSettings& js) { js.dmCopies = 0; },
       [](const JobSettings& out, const JobSettings&, const PaperInfo&, const PaperInfo&, int16_t) {
         EXPECT_EQ(out.dmCopies, 1);
       }},
      {"copies above the maximum", [](JobSettings& js) { js.dmCopies = 30000; },
       [](const JobSettings& out, const JobSettings&, const PaperInfo&, const PaperInfo&,
          int16_t max) { EXPECT_EQ(out.dmCopies, max); }},
      {"standard paper takes the table's size and name",
       [](JobSettings& js) {
         js.dmPaperSize = 1005;
         js.dmPaperWidth = 1;
         js.dmPaperLength = 2;
       },
       [](const JobSettings& out, const JobSettings&, const PaperInfo& p, const PaperInfo&,
          int16_t) {
         EXPECT_EQ(out.dmPaperWidth, static_cast<int16_t>(p.paperWidth));
         EXPECT_EQ(out.dmPaperLength, static_cast<int16_t>(p.paperLength));
         EXPECT_EQ(0, std::memcmp(out.dmFormName, p.paperName, 31 * 2));
         EXPECT_EQ(0, std::memcmp(&out.Paper, &p, sizeof p));
       }},
      {"highest quality picks the finer resolution", [](JobSettings& js) { js.dmPrintQuality = -4; },
       [](const JobSettings& out, const JobSettings&, const PaperInfo&, const PaperInfo&, int16_t) {
         EXPECT_EQ(out.dmPrintQuality, 1200);
         EXPECT_EQ(out.dmYResolution, 1200);
       }},
      {"unknown resolution falls back to the default", [](JobSettings& js) { js.dmPrintQuality = 300; },
       [](const JobSettings& out, const JobSettings& d, const PaperInfo&, const PaperInfo&, int16_t) {
         EXPECT_EQ(out.dmPrintQuality, d.dmPrintQuality);
       }},
      {"landscape lock turns the page",
       [](JobSettings& js) {
         js.OrientationLock = 4;
         js.dmOrientation = 1;
       },
       [](const JobSettings& out, const JobSettings&, const PaperInfo&, const PaperInfo&, int16_t) {
         EXPECT_EQ(out.dmOrientation, 2);
       }},
      {"custom width beyond the layout's limit is reset",
       [](JobSettings& js) {
         js.dmPaperSize = 256;
         js.dmPaperWidth = 2000;
         js.dmPaperLength = 800;
         js.Paper.paperId = 256;
         js.Paper.paperLayout = 0;
       },
       [](const JobSettings& out, const JobSettings&, const PaperInfo&, const PaperInfo& c,
          int16_t) {
         EXPECT_EQ(out.dmPaperSize, 256);
         EXPECT_EQ(out.dmPaperWidth, static_cast<int16_t>(c.paperWidth));
         EXPECT_EQ(out.dmPaperLength, 800);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JobSettings in = defaults, out{};
    c.edit(in);
    ASSERT_EQ(DocumentProperties(printer_.get(), &in, &out, DM_IN_BUFFER | DM_OUT_BUFFER), 1);
    c.check(out, defaults, label76, custom, maxCopies);
    // What the driver hands out must come back unchanged.
    JobSettings again{};
    ASSERT_EQ(DocumentProperties(printer_.get(), &out, &again, DM_IN_BUFFER | DM_OUT_BUFFER), 1);
    EXPECT_EQ(0, std::memcmp(&again, &out, kJobSettingsSize));
  }
}

// Another driver's device mode is not ours to repair: the caller gets the
// stored per-user default (Wine keeps one device mode for both).
TEST_F(InstalledPrinter, ForeignDeviceModesGetTheStoredDefault) {
  JobSettings stored{};
  ASSERT_EQ(DocumentProperties(printer_.get(), nullptr, &stored, DM_OUT_BUFFER), 1);
  ASSERT_TRUE(HasSignature(stored));

  JobSettings foreign = Defaults();
  foreign.dmDriverExtra = 0;
  foreign.dmOrientation = 2;
  foreign.dmFields |= 1;
  JobSettings otherSignature = Defaults();
  otherSignature.Signature[0] = u'X';
  for (const JobSettings* in : {&foreign, &otherSignature}) {
    JobSettings out{};
    ASSERT_EQ(DocumentProperties(printer_.get(), in, &out, DM_IN_BUFFER | DM_OUT_BUFFER | DM_MODIFY), 1);
    EXPECT_EQ(0, std::memcmp(&out, &stored, kJobSettingsSize));
  }
}

// A device mode that ends right before an inaccessible page: the driver
// must not read past dmSize + dmDriverExtra.
TEST_F(InstalledPrinter, ReadsNoFurtherThanTheCallerOwns) {
  SYSTEM_INFO si;
  GetSystemInfo(&si);
  auto* pages = static_cast<unsigned char*>(
      VirtualAlloc(nullptr, si.dwPageSize * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD old;
  ASSERT_TRUE(VirtualProtect(pages + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old));
  const JobSettings defaults = Defaults();
  for (uint16_t extra : {uint16_t{0}, uint16_t{100}, uint16_t{kPrivateSize - 1}}) {
    SCOPED_TRACE(extra);
    const size_t total = kPublicSize + extra;
    unsigned char* in = pages + si.dwPageSize - total;
    std::memcpy(in, &defaults, total);
    reinterpret_cast<JobSettings*>(in)->dmDriverExtra = extra;
    JobSettings out{};
    EXPECT_EQ(DocumentProperties(printer_.get(), in, &out, DM_IN_BUFFER | DM_OUT_BUFFER), 1);
    EXPECT_TRUE(HasSignature(out));
  }
  VirtualFree(pages, 0, MEM_RELEASE);
}

TEST_F(InstalledPrinter, ReinstallingEmptiesTheFavourites) {
  Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
  ASSERT_TRUE(admin);
  const std::vector<unsigned char> junk(kEntrySetSize, 0x5A);
  DWORD three = 3;
  ASSERT_EQ(SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_ENTRYSET"), REG_BINARY,
                            const_cast<BYTE*>(junk.data()), kEntrySetSize), ERROR_SUCCESS);
  ASSERT_EQ(SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_ENTRYSETNUM"), REG_DWORD,
                            reinterpret_cast<BYTE*>(&three), 4), ERROR_SUCCESS);

  HMODULE ui = LoadInstalledModule(L"VQ312UI.dll");
  ASSERT_NE(ui, nullptr);
  using Event = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
  auto event = reinterpret_cast<Event>(reinterpret_cast<void*>(GetProcAddress(ui, "DrvPrinterEvent")));
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(event(const_cast<wchar_t*>(kPrinterName), PRINTER_EVENT_INITIALIZE, 0, 0), TRUE);

  std::vector<unsigned char> bytes;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(admin.get(), L"APUI_ENTRYSET", &bytes, &type));
  EXPECT_EQ(bytes, std::vector<unsigned char>(kEntrySetSize, 0));
  Win32PrinterStore store(admin.get(), false);
  EXPECT_EQ(GetPrinterDword(&store, pd::kEntrySetNum), InstallDefault(2028));
  FreeLibrary(ui);
}

TEST(DriverExports, DriverEventAndUpgradeAcceptEverything) {
  HMODULE ui = LoadInstalledModule(L"VQ312UI.dll");
  ASSERT_NE(ui, nullptr);
  using DriverEvent = BOOL(WINAPI*)(DWORD, DWORD, LPBYTE, LPARAM);
  using Upgrade = BOOL(WINAPI*)(DWORD, LPBYTE);
  auto event = reinterpret_cast<DriverEvent>(reinterpret_cast<void*>(GetProcAddress(ui, "DrvDriverEvent")));
  auto upgrade = reinterpret_cast<Upgrade>(reinterpret_cast<void*>(GetProcAddress(ui, "DrvUpgradePrinter")));
  ASSERT_NE(event, nullptr);
  ASSERT_NE(upgrade, nullptr);
  for (DWORD e : {1u, 2u, 3u, 99u}) EXPECT_TRUE(event(e, 0, nullptr, 0));
  EXPECT_TRUE(upgrade(1, nullptr));
  FreeLibrary(ui);
}

}  // namespace
}  // namespace vq::wine

namespace vq::wine {
namespace {

// Finds the message box the calling thread is about to show, remembers its
// caption and text, and closes it.
struct MessageBoxWatcher {
  std::wstring caption, text;
  HANDLE thread = nullptr;

  static DWORD WINAPI Run(void* self) {
    auto* w = static_cast<MessageBoxWatcher*>(self);
    for (int i = 0; i < 200; ++i) {
      if (HWND box = FindWindowW(L"#32770", nullptr)) {
        wchar_t buf[512];
        GetWindowTextW(box, buf, 512);
        w->caption = buf;
        GetDlgItemTextW(box, 0xFFFF, buf, 512);  // the message box's text static
        w->text = buf;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return 0;
      }
      Sleep(25);
    }
    return 1;
  }
  void Start() { thread = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
  void Join() {
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
  }
};

TEST(AdminAccess, RefusalIsToldInTheUsersWords) {
  EXPECT_TRUE(CheckPrinterAdminAccess(nullptr, kPrinterName, TRUE));
  EXPECT_FALSE(CheckPrinterAdminAccess(nullptr, L"No such printer", FALSE));

  MessageBoxWatcher watcher;
  watcher.Start();
  EXPECT_FALSE(CheckPrinterAdminAccess(nullptr, L"No such printer", TRUE));
  watcher.Join();
  EXPECT_EQ(watcher.caption, L"Morva VT-Q3120");
  EXPECT_NE(watcher.text.find(L"permission"), std::wstring::npos) << watcher.text.c_str();
}

}  // namespace
}  // namespace vq::wine
