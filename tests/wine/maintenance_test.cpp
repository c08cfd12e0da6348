// The maintenance utility against the simulated printer: the stand-in
// modules called directly, the wait dialog and the utility page's buttons
// and dialogs driven by messages, screenshots of each.
#include <gtest/gtest.h>

#include "base/ddk_win.h"

#include <commctrl.h>
#include <prsht.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/module_win.h"
#include "modules/simulated_printer/maintenance_state_win.h"
#include "modules/simulated_printer/simulated_printer_win.h"
#include "pages/utility/maintenance_win.h"
#include "tests/wine/glyph_check_win.h"
#include "tests/wine/installed_printer.h"
#include "tests/wine/page_driver.h"
#include "tools/sheet_host/sheet_host_win.h"

namespace vq::wine {
namespace {

constexpr wchar_t kMaintPrinter[] = L"VT-Q3120 Maintenance Test";
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
  // The dialog belongs to the sheet's thread: have it painted now, then let
  // late painting (fonts with many glyphs) settle before the screen is read.
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(400);
  EXPECT_TRUE(host::SaveWindowBitmap(w, ShotFolder() + L"\\" + name + L".bmp")) << name;
  // What the screenshot shows must be drawable in its fonts, in either language.
  std::vector<std::wstring> undrawable;
  EXPECT_GT(CheckTexts(w, name, &undrawable), 0) << name;
  for (const std::wstring& u : undrawable) ADD_FAILURE() << Utf8(u);
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

  // Without the modules, or with a module in their place that lacks every
  // export (and has no VQ312GS.dll or VQ312GD.dll beside it), each call
  // answers its failure at once.
  for (HMODULE module : {HMODULE(nullptr), GetModuleHandleW(L"kernel32.dll")}) {
    SCOPED_TRACE(module ? "a module without the exports" : "no module");
    MaintenanceTarget bare{module, printer_.get(), printer_.get(), &settings, kMaintPrinter};
    StateRecord record;
    EXPECT_FALSE(ReadPrinterState(bare, &record));
    EXPECT_EQ(IsPrinterBusy(bare), kBusyUnreadable);
    EXPECT_FALSE(ReadPrinterSetting(bare, kItemSleepTimer, sleep, sizeof sleep));
    uint32_t tearOff = 0;
    EXPECT_FALSE(ReadTearOffState(bare, &tearOff));
    maint::Registration untouched{};
    untouched[0] = 5;
    EXPECT_EQ(ReadRegistrationValues(bare, &untouched), -1);
    EXPECT_EQ(untouched[0], 5);
    EXPECT_FALSE(SendCommand(bare, 10));
    EXPECT_EQ(RunWaitDialog(nullptr, bare, WaitKind::kStopOrWait), -1);
  }
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
    if (HWND w = WaitForDialog(1218)) {
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
      HWND w = WaitForDialog(1218);
      if (!w) return 1;
      PostClick(w, 1217);
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
      PostClick(page, c.button);
      EXPECT_NE(AnswerBox(c.confirm), L"") << "no confirmation";
      if (c.waitShows) {
        HWND wait = WaitForDialog(1218);
        ASSERT_NE(wait, nullptr);
        if (c.cancelWait) {
          PostClick(wait, 1217);
        } else {
          SetPrinter({"idle"});
        }
        WaitGone(wait);
      }
      if (c.after) after = AnswerBox(IDOK);
      Sleep(300);
    });
    if (c.after) {
      EXPECT_NE(after.find(c.after), std::wstring::npos);
    }
    EXPECT_EQ(Logged(c.code), c.reached);
  }
}

// The multi-step procedures run to their end against the simulated printer:
// the messages come in order, the printer gets the commands in order.
TEST_F(Maintenance, ProceduresRunToTheirEnd) {
  struct Step {
    int answer;
    const wchar_t* text;  // part of the message, or null for any
  };
  struct Case {
    const char* name;
    int button;
    std::vector<const char*> printer;
    std::vector<Step> steps;
    std::vector<uint16_t> commands;  // in this order in the log
    std::vector<uint16_t> never;
    int closeDialog = 0, closeButton = 0;  // a dialog left open at the end
  };
  const Case cases[] = {
      {"ink release", 1090, {"work=300"}, {{IDYES, nullptr}, {IDOK, L"drained"}}, {32, 33}, {53}},
      {"ink release wakes a sleeping printer", 1090, {"work=300", "asleep"},
       {{IDYES, nullptr}, {IDOK, L"drained"}}, {53, 32, 33}, {}},
      {"ink release refused on a busy printer", 1090, {"busy"},
       {{IDYES, nullptr}, {IDOK, L"busy printing"}}, {}, {32}},
      {"ink exchange", 1095, {"work=300", "ink-empty=magenta"},
       {{IDYES, nullptr}, {IDOK, L"exchange is complete"}}, {59, 55, 57, 58, 56}, {}},
      {"ink exchange with nothing to exchange", 1095,
       {"work=300", "ink-empty=magenta", "exchange=done"},
       {{IDYES, nullptr}, {IDOK, L"already been exchanged"}}, {59}, {55}},
      {"ink exchange with two tanks empty", 1095, {"ink-empty=magenta+cyan"},
       {{IDYES, nullptr}, {IDOK, L"not ready for the ink exchange"}}, {}, {59}},
      {"special settings on a printer busy with its tear-off sensor", 1082, {"tear-off=busy"},
       {{IDOK, L"Communication"}}, {42}, {17}, 9018, 6062},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetPrinter({"reset", "work=0", "log=clear"});
    for (const char* word : c.printer) SetPrinter({word});
    std::vector<std::wstring> seen;
    OnUtilityPage([&](HWND, HWND page) {
      PostClick(page, c.button);
      for (const Step& step : c.steps) seen.push_back(AnswerBox(step.answer, 20000));
      if (c.closeDialog) {
        HWND w = WaitForDialog(c.closeDialog);
        EXPECT_NE(w, nullptr);
        if (w) {
          PostClick(w, c.closeButton);
          WaitGone(w);
        }
      }
      Sleep(300);
    });
    ASSERT_EQ(seen.size(), c.steps.size());
    for (size_t i = 0; i < seen.size(); ++i) {
      EXPECT_NE(seen[i], L"") << "message " << i << " did not come";
      if (c.steps[i].text) {
        EXPECT_NE(seen[i].find(c.steps[i].text), std::wstring::npos) << "message " << i;
      }
    }
    const std::vector<uint16_t> log = Held().log;
    auto at = log.begin();
    for (uint16_t code : c.commands) {
      at = std::find(at, log.end(), code);
      EXPECT_NE(at, log.end()) << "command " << code << " missing or out of order";
    }
    for (uint16_t code : c.never) EXPECT_FALSE(Logged(code)) << "command " << code;
  }
}

TEST_F(Maintenance, SettingsDialogsReadAndStore) {
  SetPrinter({"reset", "work=0", "sleep=10/1", "cut=10/30", "s1=0x28", "s2=0x01"});
  OnUtilityPage([&](HWND, HWND page) {
    // Sleep timer: typing 75 turns into 60; OK stores and sends both times.
    PostClick(page, 1080);
    HWND sleep = WaitForDialog(1221);
    ASSERT_NE(sleep, nullptr);
    EXPECT_EQ(TextOf(sleep, 1221), L"10");
    EXPECT_EQ(TextOf(sleep, 1224), L"1");
    EXPECT_EQ(IsDlgButtonChecked(sleep, 1290), BST_CHECKED);
    SendMessageW(GetDlgItem(sleep, 1221), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"75"));
    SendMessageW(sleep, WM_COMMAND, MAKEWPARAM(1221, EN_CHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(sleep, 1221)));
    EXPECT_EQ(TextOf(sleep, 1221), L"60");
    SendMessageW(GetDlgItem(sleep, 1224), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"720"));
    PostClick(sleep, 6001);
    AnswerBox(IDYES);
    WaitGone(sleep);
    EXPECT_FALSE(IsWindow(sleep));

    // Cutter position: mode 0 moves only the stop position; Default and OK
    // store the centre in both.
    PostClick(page, 1084);
    HWND cutter = WaitForDialog(9006);
    ASSERT_NE(cutter, nullptr);
    EXPECT_EQ(TextOf(cutter, 9009), L"-5.0");
    EXPECT_EQ(TextOf(cutter, 9010), L"5.0");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(cutter, 9005)));
    PostClick(cutter, 9000);
    Sleep(100);
    EXPECT_EQ(TextOf(cutter, 9009), L"0.0");
    PostClick(cutter, 9001);
    AnswerBox(IDYES);
    WaitGone(cutter);

    // Special settings: 0x28 / 0x01 show automatic cleaning and the highest
    // head raise; clearing automatic cleaning changes that bit alone.
    PostClick(page, 1082);
    HWND special = WaitForDialog(9018);
    ASSERT_NE(special, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(special, 9029), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(special, 9018), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(special, 9021), BST_CHECKED);
    CheckDlgButton(special, 9029, BST_UNCHECKED);
    PostClick(special, 6061);
    AnswerBox(IDYES);
    Sleep(500);
    EXPECT_TRUE(IsWindow(special)) << "special settings stay open after sending";
    PostClick(special, 6062);
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

// ---- Head position adjustment -----------------------------------------------------

// The maintenance printer's default paper and its size (0.1 mm): the device
// sheet's job settings start from it.
void SetDefaultPaper(int16_t paperId, int16_t width, int16_t length) {
  Printer admin(kMaintPrinter, PRINTER_ALL_ACCESS);
  DWORD needed = 0;
  GetPrinterW(admin.get(), 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed ? needed : 1);
  auto* p2 = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  ASSERT_TRUE(GetPrinterW(admin.get(), 2, info.data(), needed, &needed) && p2->pDevMode);
  auto* js = reinterpret_cast<JobSettings*>(p2->pDevMode);
  js->dmPaperSize = paperId;
  js->dmPaperWidth = width;
  js->dmPaperLength = length;
  p2->pSecurityDescriptor = nullptr;
  ASSERT_TRUE(::SetPrinterW(admin.get(), 2, info.data(), 0));
}

// The maintenance printer's port; the old one back from the returned name.
std::wstring SetPort(const wchar_t* port) {
  Printer admin(kMaintPrinter, PRINTER_ALL_ACCESS);
  DWORD needed = 0;
  GetPrinterW(admin.get(), 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed ? needed : 1);
  auto* p2 = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  if (!GetPrinterW(admin.get(), 2, info.data(), needed, &needed)) return L"";
  const std::wstring old = p2->pPortName ? p2->pPortName : L"";
  p2->pPortName = const_cast<wchar_t*>(port);
  p2->pSecurityDescriptor = nullptr;
  EXPECT_TRUE(::SetPrinterW(admin.get(), 2, info.data(), 0));
  return old;
}

// What a user typing into an edit does: the text, then the edit's change.
void Type(HWND dialog, int edit, const wchar_t* text) {
  SendDlgItemMessageW(dialog, edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(edit, EN_CHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, edit)));
}

void Slide(HWND dialog, int slider, int position) {
  SendDlgItemMessageW(dialog, slider, TBM_SETPOS, TRUE, position);
  SendMessageW(dialog, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, slider)));
}

// Clicks a radio as the user does and waits for the dialog to take it.
void Pick(HWND dialog, int radio) {
  PostClick(dialog, radio);
  for (int i = 0; i < 200 && IsDlgButtonChecked(dialog, radio) != BST_CHECKED; ++i) Sleep(10);
}

bool WaitEnabled(HWND dialog, int id) {
  for (int i = 0; i < 800; ++i, Sleep(10))
    if (IsWindowEnabled(GetDlgItem(dialog, id))) return true;
  return false;
}

// Waits for a control of the next step; when it does not come, closes the
// dialog (its close button, then Yes) so that the sheet can end.
bool Reached(HWND dialog, int id, int closeButton) {
  if (WaitEnabled(dialog, id)) return true;
  ADD_FAILURE() << "control " << id << " was never enabled";
  if (IsWindow(dialog)) {
    PostClick(dialog, closeButton);
    AnswerBox(IDYES, 2000);
    WaitGone(dialog);
  }
  return false;
}

bool InOrder(const std::vector<uint16_t>& codes) {
  const std::vector<uint16_t> log = Held().log;
  auto at = log.begin();
  for (uint16_t code : codes)
    if ((at = std::find(at, log.end(), code)) == log.end()) return false;
  return true;
}

maint::Registration HeldRegistration() {
  maint::Registration r{};
  const sim::MaintenanceState m = Held();
  std::copy(m.registration.begin(), m.registration.end(), r.begin());
  return r;
}

// Both wizards from the utility page to the printer on a 76 x 127 mm
// black-mark label (size class 1, paper type 4, long enough for the
// detailed adjustment): print, read every pattern (typed, by slider, by
// radio), send, go on to the detailed dialog and do the same. The printer
// ends up holding the worked values; each step is photographed (run once
// per UI language).
TEST_F(Maintenance, HeadAdjustmentWithScreenshots) {
  SetDefaultPaper(1011, 762, 1270);
  SetPrinter({"reset", "work=0", "log=clear", "paper-type=5", "reg=2,-3,4,20,11,-12,1,-2,3,-4,13,-14"});
  OnUtilityPage([&](HWND, HWND page) {
    PostClick(page, 6006);
    HWND w = WaitForDialog(1128);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(w, 1128)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, 1127)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, 6078)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, 1227)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, 1221))) << "the wide label's picture";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, 1224)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(w, 1199)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, 1200)));
    Shot(w, L"head-adjust-1");

    PostClick(w, 1128);
    EXPECT_NE(AnswerBox(IDYES), L"") << "print confirmation";
    EXPECT_NE(AnswerBox(IDYES), L"") << "was the pattern printed";
    if (!Reached(w, 1129, 6050)) return;
    EXPECT_TRUE(InOrder({21, 14}));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, 1128)));
    // b3 = 20 leaves A room up to 12; "-0" is 0; the slider sets 3.
    Type(w, 6038, L"45");
    EXPECT_EQ(TextOf(w, 6038), L"12");
    Type(w, 6038, L"-0");
    EXPECT_EQ(TextOf(w, 6038), L"0");
    Slide(w, 1227, 29);
    EXPECT_EQ(TextOf(w, 6038), L"3");
    Pick(w, 1136);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, 6038)));
    // B (b9 = -4) runs -26..30: the slider's selection shows it upside down.
    EXPECT_EQ(SendDlgItemMessageW(w, 1227, TBM_GETSELSTART, 0, 0), 32 - 30);
    EXPECT_EQ(SendDlgItemMessageW(w, 1227, TBM_GETSELEND, 0, 0), 32 + 26);
    Type(w, 6042, L"-2");
    Shot(w, L"head-adjust-2");

    PostClick(w, 1368);
    if (!Reached(w, 1130, 6050)) return;
    Type(w, 6041, L"4");
    Pick(w, 1137);
    Type(w, 6061, L"1");
    Shot(w, L"head-adjust-3");

    PostClick(w, 1370);
    if (!Reached(w, 1131, 6050)) return;
    const struct {
      int radio, edit;
      const wchar_t* value;
    } stage4[] = {{1131, 6049, L"2"}, {1133, 6054, L"-1"}, {1138, 6063, L"5"}, {1139, 6065, L"-3"}};
    for (const auto& e : stage4) {
      Pick(w, e.radio);
      Type(w, e.edit, e.value);
      EXPECT_EQ(TextOf(w, e.edit), e.value);
    }
    Shot(w, L"head-adjust-4");
    PostClick(w, 1127);
    EXPECT_NE(AnswerBox(IDYES), L"") << "send confirmation";
    const std::wstring sent = AnswerBox(IDOK);
    EXPECT_NE(sent, L"") << "sent";
    std::printf("after sending: %s\n", Utf8(sent).c_str());
    if (!Reached(w, 6078, 6050)) return;  // a 127 mm label may go on to the detailed adjustment
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(w, 1128))) << "back at the first step";
    const maint::Registration afterFirst = {3, -4, 2, 23, 11, -12, 3, -5, -3, -6, 13, -14};
    EXPECT_EQ(HeldRegistration(), afterFirst);
    EXPECT_TRUE(InOrder({21, 14, 19}));

    PostClick(w, 6078);
    HWND detail = WaitForDialog(6502);
    ASSERT_NE(detail, nullptr);
    EXPECT_FALSE(IsWindowVisible(w)) << "the wizard gives way to the detailed dialog";
    Shot(detail, L"head-detail-1");
    PostClick(detail, 6502);
    EXPECT_NE(AnswerBox(IDYES), L"");
    EXPECT_NE(AnswerBox(IDYES), L"");
    if (!Reached(detail, 6551, 6504)) return;
    EXPECT_TRUE(InOrder({19, 21, 47}));
    // Row 1 reads 1, 1, 2 (mean 1); row 2 2, 2, 3 (mean 2); row 3 -1, -1, -2
    // (mean -1).
    for (const auto& [edit, value] : {std::pair{6551, L"1"}, {6553, L"1"}, {6565, L"2"}})
      Type(detail, edit, value);
    Shot(detail, L"head-detail-2");
    PostClick(detail, 6519);
    if (!Reached(detail, 6556, 6504)) return;
    for (const auto& [edit, value] : {std::pair{6556, L"2"}, {6558, L"2"}, {6567, L"3"},
                                      {6561, L"-1"}, {6563, L"-1"}, {6569, L"-2"}})
      Type(detail, edit, value);
    Shot(detail, L"head-detail-3");
    PostClick(detail, 6503);
    EXPECT_NE(AnswerBox(IDYES), L"");
    EXPECT_NE(AnswerBox(IDOK), L"");
    if (!Reached(detail, 6502, 6504)) return;
    PostClick(detail, 6504);
    EXPECT_NE(AnswerBox(IDYES), L"") << "close confirmation";
    WaitGone(detail);
    WaitGone(w);
    EXPECT_FALSE(IsWindow(w)) << "the wizard ends with the detailed dialog";
  });
  // b1 -= 1, b0 += 2 - 1, b2 += -1 - 1.
  const maint::Registration afterDetail = {4, -5, 0, 23, 11, -12, 3, -5, -3, -6, 13, -14};
  EXPECT_EQ(HeldRegistration(), afterDetail);
  Printer own(kMaintPrinter);
  std::vector<unsigned char> value;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(own.get(), L"APUI_REGPOSITION", &value, &type));
  ASSERT_EQ(value.size(), 12u);
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(static_cast<int8_t>(value[i]), afterDetail[i]) << i;
  ASSERT_TRUE(ReadValue(own.get(), L"APUI_REGPAPERTYPE", &value, &type));
  EXPECT_EQ(value, std::vector<unsigned char>{5}) << "the paper type the printer printed on";
  SetDefaultPaper(1003, 500, 300);
}

// Values beyond the normal limits widen the ranges; a printer that cannot
// be read leaves the wizard at its first step with the message, unless it
// prints to a file, where nothing can be read and the pattern still goes.
TEST_F(Maintenance, HeadAdjustmentRangesAndRefusals) {
  SetDefaultPaper(1011, 762, 1270);
  struct Case {
    const char* name;
    std::vector<const char*> printer;
    bool printed;
    int sliderMax;      // after printing
    int firstHi;        // pattern A's upper bound
    const wchar_t* port = nullptr;
  };
  const Case cases[] = {
      {"normal values", {"reg=0,0,0,0,0,0,0,0,0,0,0,0"}, true, 64, 32},
      {"b6 = 40: extended range", {"reg=0,0,0,0,0,0,40,0,0,0,0,0"}, true, 254, 32},
      {"b3 = -40: extended range", {"reg=0,0,0,-40,0,0,0,0,0,0,0,0"}, true, 254, 72},
      {"printer refuses", {"commands=refused"}, false, 0, 0},
      {"FILE: port, nothing readable", {"settings=none"}, true, 64, 32, L"FILE:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetPrinter({"reset", "work=0", "log=clear"});
    for (const char* word : c.printer) SetPrinter({word});
    const std::wstring port = c.port ? SetPort(c.port) : L"";
    OnUtilityPage([&](HWND, HWND page) {
      PostClick(page, 6006);
      HWND w = WaitForDialog(1128);
      ASSERT_NE(w, nullptr);
      PostClick(w, 1128);
      AnswerBox(IDYES);
      if (c.printed) {
        AnswerBox(IDYES);
        if (!Reached(w, 1129, 6050)) return;
        EXPECT_EQ(SendDlgItemMessageW(w, 1227, TBM_GETRANGEMAX, 0, 0), c.sliderMax);
        int lo = 0, hi = 0;
        SendDlgItemMessageW(w, 6039, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo),
                            reinterpret_cast<LPARAM>(&hi));
        EXPECT_EQ(hi, c.firstHi);
      } else {
        // A refusing printer answers nothing either: the values cannot be
        // read, so no pattern is printed.
        const std::wstring failed = AnswerBox(IDOK);
        EXPECT_NE(failed.find(L"did not return"), std::wstring::npos) << Utf8(failed);
        Sleep(200);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(w, 1128)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, 1129)));
      }
      PostClick(w, 6050);
      AnswerBox(IDYES);
      WaitGone(w);
    });
    if (c.port) SetPort(port.c_str());
    EXPECT_EQ(InOrder({21, 14}), c.printed);
    EXPECT_FALSE(Logged(19));
  }
  SetDefaultPaper(1003, 500, 300);
}

// The main screenshots: the page, a wait with progress and with Cancel, each
// settings dialog and the information choice (run once per UI language).
TEST_F(Maintenance, Screenshots) {
  // Long enough a cleaning for the progress line to be seen in either
  // language, however slowly the dialog comes up.
  SetPrinter({"reset", "work=12000"});
  OnUtilityPage([&](HWND sheet, HWND page) {
    Shot(sheet, L"utility-page");
    PostClick(page, 1091);  // deep cleaning: a wait with progress
    AnswerBox(IDYES);
    HWND wait = nullptr;
    for (int i = 0; i < 200 && !wait; ++i, Sleep(50)) {
      HWND w = WaitForDialog(1336, 100);
      if (w && IsWindowVisible(GetDlgItem(w, 1336)) && !TextOf(w, 1336).empty()) wait = w;
    }
    EXPECT_NE(wait, nullptr) << "no wait dialog with a progress line";
    if (wait) Shot(wait, L"wait-progress");
    AnswerBox(IDOK, 20000);
    SetPrinter({"paused"});
    PostClick(page, 1076);
    AnswerBox(IDYES);
    if (HWND wait = WaitForDialog(1218)) {
      Shot(wait, L"wait-cancel");
      PostClick(wait, 1217);
      WaitGone(wait);
    }
    AnswerBox(IDOK);
    SetPrinter({"idle"});
    struct Dialog {
      int button, control, close;
      const wchar_t* name;
    };
    for (const Dialog& d : {Dialog{1080, 1221, 6003, L"sleep-timer"},
                            Dialog{1084, 9006, 9002, L"cutter-position"},
                            Dialog{1082, 9018, 6062, L"special-settings"},
                            Dialog{1078, 1201, 2, L"printer-information"}}) {
      PostClick(page, d.button);
      HWND w = WaitForDialog(d.control);
      EXPECT_NE(w, nullptr) << d.name;
      if (!w) continue;
      Shot(w, d.name);
      PostClick(w, d.close);
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
