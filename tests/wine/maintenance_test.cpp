// The maintenance utility against the simulated printer: the stand-in
// modules called directly, the wait dialog and the utility page's buttons
// and dialogs driven by messages, screenshots of each.
#include <gtest/gtest.h>

#include "base/ddk_win.h"

#include <commctrl.h>
#include <prsht.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/module_win.h"
#include "modules/simulated_printer/maintenance_state_win.h"
#include "modules/simulated_printer/simulated_printer_win.h"
#include "pages/utility/maintenance_win.h"
#include "tests/wine/installed_printer.h"
#include "tools/sheet_host/sheet_host_win.h"

namespace vq::wine {
namespace {

constexpr wchar_t kMaintPrinter[] = L"VT-Q3120 Maintenance Test";
// The text of a message box: 0xFFFF on Windows, 100 in Wine's template.
constexpr int kMessageText = -1;
HWND MessageText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? text : GetDlgItem(box, 100);
}

// ---- The simulated printer ----------------------------------------------------

void SetPrinter(std::initializer_list<const char*> words) {
  sim::PrinterState state;
  sim::MaintenanceState maintenance;
  ASSERT_TRUE(sim::ReadPrinterState(kMaintPrinter, &state));
  ASSERT_TRUE(sim::ReadMaintenanceState(kMaintPrinter, &maintenance));
  for (const char* word : words) {
    std::string error;
    bool known = false;
    if (std::string(word) == "reset") {
      state = sim::PrinterState{};
      maintenance = sim::MaintenanceState{};
    } else if (!sim::ApplyMaintenanceSetting(word, &maintenance, &known, &error)) {
      ASSERT_FALSE(known) << word << ": " << error;
      ASSERT_TRUE(sim::ApplySetting(word, &state, &error)) << word << ": " << error;
    }
  }
  ASSERT_TRUE(sim::WritePrinterState(kMaintPrinter, state));
  ASSERT_TRUE(sim::WriteMaintenanceState(kMaintPrinter, maintenance));
}

sim::MaintenanceState Held() {
  sim::MaintenanceState m;
  EXPECT_TRUE(sim::ReadMaintenanceState(kMaintPrinter, &m));
  return m;
}

bool Logged(uint16_t code) {
  const sim::MaintenanceState m = Held();
  return std::find(m.log.begin(), m.log.end(), code) != m.log.end();
}

// ---- Windows of this process --------------------------------------------------

struct Find {
  int control;
  HWND found;
};

// A shown dialog of this process holding `control` (not the sheet).
HWND FindDialog(int control, DWORD ms = 8000) {
  for (DWORD waited = 0; waited < ms; waited += 25) {
    Find f{control, nullptr};
    EnumWindows(
        [](HWND w, LPARAM l) -> BOOL {
          auto* f = reinterpret_cast<Find*>(l);
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          wchar_t cls[16] = {};
          GetClassNameW(w, cls, 16);
          if (pid != GetCurrentProcessId() || !IsWindowVisible(w) || std::wcscmp(cls, L"#32770") ||
              GetDlgItem(w, 12320) ||
              !(f->control == kMessageText ? MessageText(w) : GetDlgItem(w, f->control)))
            return TRUE;
          f->found = w;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    if (f.found) return f.found;
    Sleep(25);
  }
  return nullptr;
}

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[512] = {};
  GetDlgItemTextW(dialog, id, text, 512);
  return text;
}

void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Answers the next message box with `button`; its text, or "" when none came.
std::wstring Answer(int button, DWORD ms = 8000) {
  HWND box = FindDialog(kMessageText, ms);
  if (!box) return L"";
  wchar_t text[512] = {};
  GetWindowTextW(MessageText(box), text, 512);
  Press(box, button);
  for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(10);
  return text;
}

void WaitGone(HWND w) {
  for (int i = 0; i < 800 && IsWindow(w); ++i) Sleep(10);
}

std::wstring ShotFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"VQ312_MAINT_SHOTS", folder, MAX_PATH))
    return L"maintenance-shots";
  return folder;
}

void Shot(HWND w, const wchar_t* name) {
  const std::wstring folder = ShotFolder();
  for (size_t slash = folder.find_first_of(L"\\/", 3); slash != std::wstring::npos;
       slash = folder.find_first_of(L"\\/", slash + 1))
    CreateDirectoryW(folder.substr(0, slash).c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  Sleep(250);
  EXPECT_TRUE(host::SaveWindowBitmap(w, ShotFolder() + L"\\" + name + L".bmp")) << name;
}

class Maintenance : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer_);
    ASSERT_NE(ui_, nullptr);
    device_ = Export<host::SheetEntry>(ui_, "DrvDevicePropertySheets");
    ASSERT_TRUE(device_);
    SetPrinter({"reset", "work=0"});
    Printer admin(kMaintPrinter, PRINTER_ALL_ACCESS);
    DWORD all = 0x1FFFF;
    ASSERT_EQ(SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_DWBUTTONFLG"), REG_DWORD,
                              reinterpret_cast<BYTE*>(&all), 4), ERROR_SUCCESS);
    DWORD noMonitor = 0;
    SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_DWSTMONSTARTFLAG"), REG_DWORD,
                    reinterpret_cast<BYTE*>(&noMonitor), 4);
  }
  void TearDown() override { FreeLibrary(ui_); }

  // Opens the printer properties, runs `drive` against the utility page on
  // another thread, then closes the sheet.
  void OnUtilityPage(const std::function<void(HWND sheet, HWND page)>& drive) {
    DEVICEPROPERTYHEADER header{sizeof header, 0, printer_.get(), const_cast<wchar_t*>(kMaintPrinter)};
    const host::HostResult r = host::RunSheet(device_, &header, L"Maintenance test", [&](HWND sheet) {
      HWND page = nullptr;
      for (int i = 0; i < 200 && !page; ++i, Sleep(20)) page = PropSheet_GetCurrentPageHwnd(sheet);
      Sleep(200);
      if (page) drive(sheet, page);
      PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    EXPECT_EQ(r.initResult, 1);
  }

  Printer printer_{kMaintPrinter, PRINTER_ACCESS_USE};
  HMODULE ui_ = LoadInstalledModule(L"VQ312UI.dll");
  host::SheetEntry device_ = nullptr;
};

// ---- The modules called directly ------------------------------------------------

TEST_F(Maintenance, ModulesAnswerFromTheSimulatedPrinter) {
  HMODULE gs = LoadInstalledModule(L"VQ312GS.dll");
  ASSERT_NE(gs, nullptr);
  JobSettings settings{};
  MaintenanceTarget t{gs, printer_.get(), printer_.get(), &settings, kMaintPrinter};
  struct Case {
    const char* state;
    int busy;
    uint8_t mode;
    bool alerts;
  };
  const Case cases[] = {{"idle", kNotBusy, 0, false},
                        {"busy", kBusy, 1, false},
                        {"asleep", kNotBusy, 7, false},
                        {"alerts=cover-open", kNotBusy, 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    SetPrinter({"reset", c.state});
    StateRecord record;
    ASSERT_TRUE(ReadPrinterState(t, &record));
    EXPECT_EQ(IsPrinterBusy(t, &record), c.busy);
    EXPECT_EQ(record.view().Byte(kStateSectionField, 4), c.mode);
    EXPECT_EQ(record.view().Has(kAlertSectionField), c.alerts);
  }
  SetPrinter({"reset", "port=silent"});
  EXPECT_EQ(IsPrinterBusy(t), kBusyUnreadable);

  // Settings: read, changed through the command channel, read back.
  SetPrinter({"reset", "sleep=10/1", "reg=1,2,3,4,5,6,7,8,9,10,11,-12"});
  uint8_t sleep[8] = {};
  ASSERT_TRUE(ReadPrinterSetting(t, kItemSleepTimer, sleep, sizeof sleep));
  EXPECT_EQ(sleep[0], 10);
  EXPECT_EQ(sleep[4], 1);
  maint::Registration values{};
  EXPECT_EQ(ReadRegistrationValues(t, &values), 1);
  EXPECT_EQ(values[11], -12);
  Printer admin(kMaintPrinter, PRINTER_ALL_ACCESS);
  DWORD packed = maint::PackSleepTimer(30, 600);
  ASSERT_EQ(SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_DWSLEEPTIMER"), REG_DWORD,
                            reinterpret_cast<BYTE*>(&packed), 4), ERROR_SUCCESS);
  EXPECT_TRUE(SendCommand(t, 16));
  EXPECT_EQ(Held().sleepFirst, 30u);
  EXPECT_EQ(Held().sleepSecond, 600u);
  // A printer that refuses: the send fails, the log still shows it.
  SetPrinter({"commands=refused"});
  EXPECT_FALSE(SendCommand(t, 10));
  EXPECT_TRUE(Logged(10));
  SetPrinter({"settings=none"});
  EXPECT_FALSE(ReadPrinterSetting(t, kItemSleepTimer, sleep, sizeof sleep));
  // A buffer shorter than the item is refused before the module is asked.
  SetPrinter({"reset"});
  EXPECT_FALSE(ReadPrinterSetting(t, kItemCapabilities, sleep, sizeof sleep));
  FreeLibrary(gs);
}

// The wait dialog ends with 1 when the printer gets ready, 2 on Cancel, and
// 100 cancelled waits leave no thread or handle behind.
TEST_F(Maintenance, WaitDialogEndsAndCleansUp) {
  HMODULE gs = LoadInstalledModule(L"VQ312GS.dll");
  JobSettings settings{};
  MaintenanceTarget t{gs, printer_.get(), printer_.get(), &settings, kMaintPrinter};
  SetPrinter({"paused"});
  HANDLE helper = CreateThread(nullptr, 0, [](void*) -> DWORD {
    if (HWND w = FindDialog(1218)) {
      Sleep(200);
      SetPrinter({"idle"});
      WaitGone(w);
    }
    return 0;
  }, nullptr, 0, nullptr);
  EXPECT_EQ(RunWaitDialog(nullptr, t, WaitKind::kStopOrWait), 1);
  WaitForSingleObject(helper, 10000);
  CloseHandle(helper);

  auto threads = [] {
    int n = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te{};
    te.dwSize = sizeof te;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
      n += te.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snap);
    return n;
  };
  auto nextHandle = [] {
    HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(probe);
    return reinterpret_cast<uintptr_t>(probe);
  };
  SetPrinter({"paused"});
  constexpr int kCancels = 100;
  const int threadsBefore = threads();
  const uintptr_t handleBefore = nextHandle();
  HANDLE canceller = CreateThread(nullptr, 0, [](void*) -> DWORD {
    for (int i = 0; i < kCancels; ++i) {
      HWND w = FindDialog(1218);
      if (!w) return 1;
      Press(w, 1217);
      WaitGone(w);
    }
    return 0;
  }, nullptr, 0, nullptr);
  int cancelled = 0;
  for (int i = 0; i < kCancels; ++i) cancelled += RunWaitDialog(nullptr, t, WaitKind::kStopOrWait) == 2;
  WaitForSingleObject(canceller, 20000);
  CloseHandle(canceller);
  const int threadsAfter = threads();
  const uintptr_t handleAfter = nextHandle();
  std::printf("%d cancelled waits: threads %d -> %d, next handle %#llx -> %#llx\n", cancelled,
              threadsBefore, threadsAfter, static_cast<unsigned long long>(handleBefore),
              static_cast<unsigned long long>(handleAfter));
  EXPECT_EQ(cancelled, kCancels);
  EXPECT_LE(threadsAfter, threadsBefore);
  EXPECT_LE(handleAfter, handleBefore + 8);
  SetPrinter({"idle"});
  FreeLibrary(gs);
}

// ---- The utility page -------------------------------------------------------------

TEST_F(Maintenance, SimpleCommandsCheckWaitAndSend) {
  struct Case {
    const char* name;
    int button;
    uint16_t code;
    const char* printer;
    int confirm;           // IDYES or IDNO
    bool waitShows;        // the printer is not ready: the wait dialog stays
    bool cancelWait;       // ... and the user cancels it
    const wchar_t* after;  // a message after the step, or null
    bool reached;  // the printer got the command
  };
  const Case cases[] = {
      {"nozzle check on an idle printer", 1075, 10, "idle", IDYES, false, false, nullptr, true},
      {"cleaning waits for a paused printer", 1076, 11, "paused", IDYES, true, false, nullptr, true},
      {"cancelled wait", 1086, 28, "paused", IDYES, true, true, L"did not become ready", false},
      {"busy printing", 1079, 15, "busy", IDYES, false, false, L"busy printing", false},
      {"answered No", 1075, 10, "idle", IDNO, false, false, nullptr, false},
      // The refusing printer still logs what it got.
      {"printer refuses", 1075, 10, "commands=refused", IDYES, false, false, L"Communication", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetPrinter({"reset", "work=0", c.printer});
    std::wstring after;
    OnUtilityPage([&](HWND, HWND page) {
      Press(page, c.button);
      EXPECT_NE(Answer(c.confirm), L"") << "no confirmation";
      if (c.waitShows) {
        HWND wait = FindDialog(1218);
        ASSERT_NE(wait, nullptr);
        if (c.cancelWait) {
          Press(wait, 1217);
        } else {
          SetPrinter({"idle"});
        }
        WaitGone(wait);
      }
      if (c.after) after = Answer(IDOK);
      Sleep(300);
    });
    if (c.after) {
      EXPECT_NE(after.find(c.after), std::wstring::npos);
    }
    EXPECT_EQ(Logged(c.code), c.reached);
  }
}

TEST_F(Maintenance, SettingsDialogsReadAndStore) {
  SetPrinter({"reset", "work=0", "sleep=10/1", "cut=10/30", "s1=0x28", "s2=0x01"});
  OnUtilityPage([&](HWND, HWND page) {
    // Sleep timer: typing 75 turns into 60; OK stores and sends both times.
    Press(page, 1080);
    HWND sleep = FindDialog(1221);
    ASSERT_NE(sleep, nullptr);
    EXPECT_EQ(ItemText(sleep, 1221), L"10");
    EXPECT_EQ(ItemText(sleep, 1224), L"1");
    EXPECT_EQ(IsDlgButtonChecked(sleep, 1290), BST_CHECKED);
    SendMessageW(GetDlgItem(sleep, 1221), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"75"));
    SendMessageW(sleep, WM_COMMAND, MAKEWPARAM(1221, EN_CHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(sleep, 1221)));
    EXPECT_EQ(ItemText(sleep, 1221), L"60");
    SendMessageW(GetDlgItem(sleep, 1224), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"720"));
    Press(sleep, 6001);
    Answer(IDYES);
    WaitGone(sleep);
    EXPECT_FALSE(IsWindow(sleep));

    // Cutter position: mode 0 moves only the stop position; Default and OK
    // store the centre in both.
    Press(page, 1084);
    HWND cutter = FindDialog(9006);
    ASSERT_NE(cutter, nullptr);
    EXPECT_EQ(ItemText(cutter, 9009), L"-5.0");
    EXPECT_EQ(ItemText(cutter, 9010), L"5.0");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(cutter, 9005)));
    Press(cutter, 9000);
    Sleep(100);
    EXPECT_EQ(ItemText(cutter, 9009), L"0.0");
    Press(cutter, 9001);
    Answer(IDYES);
    WaitGone(cutter);

    // Special settings: 0x28 / 0x01 show automatic cleaning and the highest
    // head raise; clearing automatic cleaning changes that bit alone.
    Press(page, 1082);
    HWND special = FindDialog(9018);
    ASSERT_NE(special, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(special, 9029), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(special, 9018), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(special, 9021), BST_CHECKED);
    CheckDlgButton(special, 9029, BST_UNCHECKED);
    Press(special, 6061);
    Answer(IDYES);
    Sleep(500);
    EXPECT_TRUE(IsWindow(special)) << "special settings stay open after sending";
    Press(special, 6062);
    WaitGone(special);
  });
  const sim::MaintenanceState m = Held();
  EXPECT_EQ(m.sleepFirst, 60u);
  EXPECT_EQ(m.sleepSecond, 720u);
  EXPECT_EQ(m.cutStop, 20u);
  EXPECT_EQ(m.cutPosition, 20u);
  EXPECT_EQ(m.switches1, 0x08);
  EXPECT_EQ(m.switches2, 0x01);
  EXPECT_TRUE(Logged(42)) << "special settings send the drying time when they open";
  Printer own(kMaintPrinter);
  std::vector<unsigned char> value;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(own.get(), L"APUI_DWSLEEPTIMER", &value, &type));
  EXPECT_EQ(value[0] | value[1] << 8 | value[2] << 16 | uint32_t{value[3]} << 24,
            maint::PackSleepTimer(60, 720));
}

// The main screenshots: the page, a wait with progress and with Cancel, each
// settings dialog and the information choice (run once per UI language).
TEST_F(Maintenance, Screenshots) {
  SetPrinter({"reset", "work=2500"});
  OnUtilityPage([&](HWND sheet, HWND page) {
    Shot(sheet, L"utility-page");
    Press(page, 1091);  // deep cleaning: a wait with progress
    Answer(IDYES);
    if (HWND progress = FindDialog(1335)) {
      HWND wait = nullptr;
      for (int i = 0; i < 100 && !wait; ++i, Sleep(50)) {
        HWND w = FindDialog(1336, 100);
        if (w && IsWindowVisible(GetDlgItem(w, 1336))) wait = w;
      }
      Sleep(700);
      if (wait) Shot(wait, L"wait-progress");
      (void)progress;
    }
    Answer(IDOK, 10000);
    SetPrinter({"paused"});
    Press(page, 1076);
    Answer(IDYES);
    if (HWND wait = FindDialog(1218)) {
      Shot(wait, L"wait-cancel");
      Press(wait, 1217);
      WaitGone(wait);
    }
    Answer(IDOK);
    SetPrinter({"idle"});
    struct Dialog {
      int button, control, close;
      const wchar_t* name;
    };
    for (const Dialog& d : {Dialog{1080, 1221, 6003, L"sleep-timer"},
                            Dialog{1084, 9006, 9002, L"cutter-position"},
                            Dialog{1082, 9018, 6062, L"special-settings"},
                            Dialog{1078, 1201, 2, L"printer-information"}}) {
      Press(page, d.button);
      HWND w = FindDialog(d.control);
      EXPECT_NE(w, nullptr) << d.name;
      if (!w) continue;
      Shot(w, d.name);
      Press(w, d.close);
      WaitGone(w);
    }
  });
  EXPECT_TRUE(Logged(45));
}

}  // namespace
}  // namespace vq::wine

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The dialogs run from this program's copy of the page code, with their
  // templates and texts from the installed modules.
  vq::g_module = vq::wine::LoadInstalledModule(L"VQ312UI.dll");
  return RUN_ALL_TESTS();
}
