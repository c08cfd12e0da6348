// The property sheets of the installed driver: in this project's own host
// (which implements SET_RESULT, so OK really hands the record back), in
// Wine's compstui through DocumentPropertiesW, and through bad conditions.
#include <gtest/gtest.h>

#include "base/ddk_win.h"

#include <commctrl.h>
#include <psapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/printer_store.h"
#include "settings/printer_store_win.h"
#include "tests/wine/installed_printer.h"
#include "tools/sheet_host/sheet_host_win.h"

namespace vq::wine {
namespace {

constexpr wchar_t kCaption[] = L"Printing Preferences test";

class Sheets : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer_);
    ASSERT_NE(ui_, nullptr);
    document_ = reinterpret_cast<host::SheetEntry>(
        reinterpret_cast<void*>(GetProcAddress(ui_, "DrvDocumentPropertySheets")));
    device_ = reinterpret_cast<host::SheetEntry>(
        reinterpret_cast<void*>(GetProcAddress(ui_, "DrvDevicePropertySheets")));
    ASSERT_TRUE(document_ && device_);
    ASSERT_EQ(DocumentProperties(printer_.get(), nullptr, &stored_, DM_OUT_BUFFER), 1);
  }
  void TearDown() override { FreeLibrary(ui_); }

  DOCUMENTPROPERTYHEADER Header(JobSettings* in, JobSettings* out) {
    DOCUMENTPROPERTYHEADER h{};
    h.cbSize = sizeof h;
    h.hPrinter = printer_.get();
    h.pszPrinterName = const_cast<wchar_t*>(kPrinterName);
    h.pdmIn = reinterpret_cast<DEVMODEW*>(in);
    h.pdmOut = reinterpret_cast<DEVMODEW*>(out);
    h.cbOut = sizeof *out;
    h.fMode = DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER;
    return h;
  }
  void SetDword(const wchar_t* name, DWORD value) {
    Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
    ASSERT_EQ(SetPrinterDataW(admin.get(), const_cast<wchar_t*>(name), REG_DWORD,
                              reinterpret_cast<BYTE*>(&value), 4), ERROR_SUCCESS);
  }

  Printer printer_;
  HMODULE ui_ = LoadInstalledModule(L"VQ312UI.dll");
  host::SheetEntry document_ = nullptr, device_ = nullptr;
  JobSettings stored_{};
};

// What the driver handed to CPSFUNC_ADD_PROPSHEETPAGEW for one page. The
// title is copied at once: it points into the driver's own buffer.
struct SentPage {
  UINT size;
  DWORD flags;
  uintptr_t templateId;
  std::wstring title;
  HICON icon;
  LPARAM lParam;
  HANDLE actCtx;
  HINSTANCE instance;
};

// The driver's sheet entry called directly with a host that only creates
// the pages: INIT in the constructor, DESTROY and page clean-up at the end.
struct DirectSheet {
  DirectSheet(host::SheetEntry entry, void* header) : entry(entry) {
    info.cbSize = sizeof info;
    info.Reason = PROPSHEETUI_REASON_INIT;
    info.hComPropSheet = this;
    info.pfnComPropSheet = [](HANDLE h, UINT fn, LPARAM l1, LPARAM) -> LONG_PTR {
      if (fn != CPSFUNC_ADD_PROPSHEETPAGEW) return 0;
      auto* self = static_cast<DirectSheet*>(h);
      const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(l1);
      self->sent.push_back({psp->dwSize, psp->dwFlags, reinterpret_cast<uintptr_t>(psp->pszTemplate),
                            psp->pszTitle ? psp->pszTitle : L"", psp->hIcon, psp->lParam,
                            psp->hActCtx, psp->hInstance});
      HPROPSHEETPAGE page = CreatePropertySheetPageW(psp);
      self->pages.push_back(page);
      return reinterpret_cast<LONG_PTR>(page);
    };
    info.lParamInit = reinterpret_cast<LPARAM>(header);
    init = entry(&info, 0);
  }
  LONG Call(DWORD reason, LPARAM lParam = 0) {
    info.Reason = reason;
    return entry(&info, lParam);
  }
  ~DirectSheet() {
    if (info.Reason != PROPSHEETUI_REASON_DESTROY) Call(PROPSHEETUI_REASON_DESTROY);
    for (HPROPSHEETPAGE p : pages) DestroyPropertySheetPage(p);
  }
  host::SheetEntry entry;
  PROPSHEETUI_INFO info{};
  std::vector<HPROPSHEETPAGE> pages;
  std::vector<SentPage> sent;
  LONG init = 0;
};

void PressOk(HWND sheet) { PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0); }
void PressCancel(HWND sheet) { PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); }

// OK hands the edited (here: repaired) record to the caller; Cancel leaves
// the caller's buffer alone.
TEST_F(Sheets, OkReturnsTheRecordThroughSetResult) {
  JobSettings in = stored_, out{};
  in.dmCopies = 0;
  DOCUMENTPROPERTYHEADER header = Header(&in, &out);
  const host::HostResult ok = host::RunSheet(document_, &header, kCaption, PressOk);
  EXPECT_EQ(ok.initResult, 1);
  EXPECT_EQ(ok.sheetResult, 1);
  EXPECT_GE(ok.setResultCalls, 1);
  EXPECT_EQ(ok.setResult, CPSUI_OK);
  EXPECT_EQ(ok.destroyResult, 1);
  EXPECT_TRUE(HasSignature(out));
  EXPECT_EQ(out.dmCopies, 1) << "the record the pages worked on, repaired";

  JobSettings untouched;
  std::memset(&untouched, 0x5C, sizeof untouched);
  header = Header(&in, &untouched);
  const host::HostResult cancel = host::RunSheet(document_, &header, kCaption, PressCancel);
  EXPECT_EQ(cancel.initResult, 1);
  EXPECT_EQ(cancel.setResultCalls, 0);
  EXPECT_EQ(reinterpret_cast<unsigned char*>(&untouched)[100], 0x5C);
}

// What each page of each sheet must be, as the registry promises it.
struct PageWiring {
  uintptr_t templateId;
  const wchar_t* title;  // English
  WORD tabIcon;          // in VQ312RD.dll
  DWORD flags;
  const wchar_t* helpTopic;
};
constexpr PageWiring kBasic{107, L"Basic Settings", 151, 0x402A, L"::/HBS_INFO.html"};
constexpr PageWiring kColour{109, L"Color", 152, 0x402A, L"::/HCS_INFO.html"};
constexpr PageWiring kCut{391, L"Cut Settings", 457, 0x402A, L"::/HPS_CSD_INFO.html"};
constexpr PageWiring kOverlay{392, L"Overlay Forms", 455, 0x442A, L"::/HAS_OLD_INFO.html"};
constexpr PageWiring kAdvanced{332, L"Advanced", 355, 0x402A, L"::/HAS_INFO.html"};
constexpr PageWiring kUtilityInPreferences{5101, L"Maintenance", 150, 0x402A, L"::/HUS_INFO2.html"};
constexpr PageWiring kUtilityInProperties{5101, L"Maintenance", 150, 0x402A, L"::/HUS_INFO.html"};

std::vector<uint32_t> IconPixels(HICON icon) {
  ICONINFO ii{};
  if (!icon || !GetIconInfo(icon, &ii)) return {};
  BITMAP bm{};
  GetObjectW(ii.hbmColor, sizeof bm, &bm);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(size_t(bm.bmWidth) * bm.bmHeight);
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, ii.hbmColor, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  return pixels;
}

// Points the HTML Help control's registration at the test's recorder for
// its lifetime, so that the Help button's topic can be read back.
class HelpRecorder {
 public:
  HelpRecorder() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"wine_help_recorder.dll";
    module_ = LoadLibraryW(path.c_str());
    take_ = reinterpret_cast<TakeEntry>(reinterpret_cast<void*>(GetProcAddress(module_, "HelpRecorderTake")));
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS)
      return;
    DWORD bytes = sizeof saved_;
    hadValue_ = RegQueryValueExW(key_, nullptr, nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(saved_), &bytes) == ERROR_SUCCESS;
    RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   DWORD((path.size() + 1) * sizeof(wchar_t)));
  }
  ~HelpRecorder() {
    if (key_) {
      if (hadValue_)
        RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_),
                       DWORD((wcslen(saved_) + 1) * sizeof(wchar_t)));
      else
        RegDeleteValueW(key_, nullptr);
      RegCloseKey(key_);
    }
  }
  bool ok() const { return take_ && key_; }
  // The help files opened since the last call, one per line.
  std::wstring Take() {
    wchar_t text[4096] = {};
    take_(text, 4096);
    return text;
  }

 private:
  using TakeEntry = size_t (*)(wchar_t*, size_t);
  static constexpr wchar_t kKey[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
  HMODULE module_ = nullptr;
  TakeEntry take_ = nullptr;
  HKEY key_ = nullptr;
  wchar_t saved_[MAX_PATH] = {};
  bool hadValue_ = false;
};

// Checks the pages a sheet registered against `expected`: the record the
// driver filled, the tab icon, the Help button's topic (PSN_HELP), and the
// procedures' answer to WM_HELP (0, whether or not help was shown).
void ExpectWiring(DirectSheet& sheet, const std::vector<PageWiring>& expected, HMODULE ui,
                  HelpRecorder& help) {
  ASSERT_EQ(sheet.sent.size(), expected.size());
  HMODULE icons = LoadInstalledModule(L"VQ312RD.dll");
  ASSERT_NE(icons, nullptr);
  for (size_t i = 0; i < expected.size(); ++i) {
    const SentPage& got = sheet.sent[i];
    const PageWiring& want = expected[i];
    SCOPED_TRACE(testing::Message() << "page " << i + 1 << ", template " << want.templateId);
    EXPECT_EQ(got.templateId, want.templateId);
    EXPECT_EQ(got.title, want.title);
    EXPECT_EQ(got.flags, want.flags);
    EXPECT_EQ(got.size, 96u);
    EXPECT_EQ(got.lParam, 0);
    EXPECT_EQ(got.instance, ui);
    EXPECT_NE(got.actCtx, nullptr);
    HICON icon = static_cast<HICON>(LoadImageW(icons, MAKEINTRESOURCEW(want.tabIcon), IMAGE_ICON,
                                               16, 16, 0));
    EXPECT_EQ(IconPixels(got.icon), IconPixels(icon)) << "tab icon " << want.tabIcon;
    DestroyIcon(icon);
  }
  FreeLibrary(icons);

  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS;
  header.pszCaption = L"Wiring";
  header.nPages = static_cast<UINT>(sheet.pages.size());
  header.phpage = sheet.pages.data();
  HWND frame = reinterpret_cast<HWND>(PropertySheetW(&header));
  ASSERT_NE(frame, nullptr);
  sheet.pages.clear();  // the sheet owns them now
  help.Take();
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "page " << i + 1 << ", template " << expected[i].templateId);
    PropSheet_SetCurSel(frame, nullptr, i);
    HWND page = PropSheet_IndexToHwnd(frame, static_cast<int>(i));
    ASSERT_NE(page, nullptr);
    NMHDR nm{frame, 0, static_cast<UINT>(PSN_HELP)};
    SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    const std::wstring opened = help.Take();
    const std::wstring topic = expected[i].helpTopic;
    EXPECT_TRUE(opened.size() > topic.size() &&
                opened.compare(opened.size() - topic.size() - 1, topic.size(), topic) == 0)
        << "opened: " << testing::PrintToString(opened);

    auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(page, DWLP_DLGPROC));
    ASSERT_NE(procedure, nullptr);
    HWND control = GetWindow(page, GW_CHILD);
    HELPINFO info{sizeof info, HELPINFO_WINDOW, GetDlgCtrlID(control), control, 0, {10, 10}};
    EXPECT_EQ(procedure(page, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), 0);
  }
  DestroyWindow(frame);
}

// Every page of both sheets is what the registry promises, and the optional
// pages follow the printer's data.
TEST_F(Sheets, PagesAreWiredAsRegistered) {
  HelpRecorder help;
  ASSERT_TRUE(help.ok());
  struct Case {
    DWORD printLayout, utility;
    std::vector<PageWiring> pages;
  };
  const Case cases[] = {
      {1, 1, {kBasic, kColour, kCut, kOverlay, kAdvanced, kUtilityInPreferences}},
      {1, 0, {kBasic, kColour, kCut, kOverlay, kAdvanced}},
      {0, 1, {kBasic, kColour, kCut, kOverlay, kUtilityInPreferences}},
      {0, 0, {kBasic, kColour, kCut, kOverlay}},
      {7, 2, {kBasic, kColour, kCut, kOverlay, kAdvanced}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.printLayout << ", utility " << c.utility);
    SetDword(L"APUI_DWPRINTLAYOUT", c.printLayout);
    SetDword(L"APUI_BUTILITY", c.utility);
    JobSettings in = stored_, out{};
    DOCUMENTPROPERTYHEADER header = Header(&in, &out);
    DirectSheet sheet(document_, &header);
    ASSERT_EQ(sheet.init, 1);
    ExpectWiring(sheet, c.pages, ui_, help);
  }
  SetDword(L"APUI_DWPRINTLAYOUT", 1);
  SetDword(L"APUI_BUTILITY", 0);

  DEVICEPROPERTYHEADER header{sizeof header, 0, printer_.get(), const_cast<wchar_t*>(kPrinterName)};
  DirectSheet device(device_, &header);
  ASSERT_EQ(device.init, 1);
  ExpectWiring(device, {kUtilityInProperties}, ui_, help);
}

// The device sheet's INIT answers -1 for what the caller got wrong and 0 for
// a module missing from the driver folder; DESTROY answers 1 once.
TEST_F(Sheets, DeviceSheetInitAndDestroyPaths) {
  const std::wstring folder = InstalledDriverFolder();
  struct Case {
    const char* what;
    bool header;
    const wchar_t* printerName;
    const wchar_t* missingModule;
    LONG init;
  };
  const Case cases[] = {
      {"no header", false, kPrinterName, nullptr, -1},
      {"unknown printer", true, L"No such printer", nullptr, -1},
      {"no maintenance module", true, kPrinterName, L"VQ312GS.dll", 0},
      {"no icon module", true, kPrinterName, L"VQ312RD.dll", 0},
      {"all there", true, kPrinterName, nullptr, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring module = c.missingModule ? folder + L"\\" + c.missingModule : L"";
    const std::wstring away = module + L".away";
    if (c.missingModule) {
      ASSERT_TRUE(MoveFileW(module.c_str(), away.c_str()));
    }
    DEVICEPROPERTYHEADER header{sizeof header, 0, nullptr, const_cast<wchar_t*>(c.printerName)};
    if (wcscmp(c.printerName, kPrinterName) == 0) header.hPrinter = printer_.get();
    DirectSheet sheet(device_, c.header ? &header : nullptr);
    if (c.missingModule) {
      ASSERT_TRUE(MoveFileW(away.c_str(), module.c_str()));
    }
    EXPECT_EQ(sheet.init, c.init);
    EXPECT_EQ(sheet.sent.size(), c.init == 1 ? 1u : 0u);
    if (c.init == 1) {
      EXPECT_EQ(sheet.Call(PROPSHEETUI_REASON_DESTROY), 1);
      EXPECT_EQ(sheet.Call(PROPSHEETUI_REASON_DESTROY), -1) << "the context went with the first";
    }
  }
}

// Wine's own host shows the same pages (it has no SET_RESULT, so the
// caller's buffer comes back as Wine leaves it).
TEST_F(Sheets, OpensInWinesPropertySheetHost) {
  int tabs = 0;
  struct Watch {
    int* tabs;
  } watch{&tabs};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        if (HWND sheet = host::WaitForSheet(L"")) {
          Sleep(300);
          HWND tab = PropSheet_GetTabControl(sheet);
          *static_cast<Watch*>(p)->tabs = tab ? TabCtrl_GetItemCount(tab) : -1;
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        }
        return 0;
      },
      &watch, 0, nullptr);
  JobSettings in = stored_, out{};
  const LONG rc = DocumentProperties(printer_.get(), &in, &out, DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
  WaitForSingleObject(thread, 15000);
  CloseHandle(thread);
  EXPECT_GE(rc, 0);
  EXPECT_EQ(tabs, 5);
}

TEST_F(Sheets, ForeignSetResultHandleLeavesTheOutputAlone) {
  JobSettings in = stored_, out;
  std::memset(&out, 0x3A, sizeof out);
  DOCUMENTPROPERTYHEADER header = Header(&in, &out);
  DirectSheet sheet(document_, &header);
  ASSERT_EQ(sheet.init, 1);
  SETRESULT_INFO sri{sizeof sri, 0, reinterpret_cast<HANDLE>(0x1234), CPSUI_OK};
  EXPECT_EQ(sheet.Call(PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&sri)), 1);
  EXPECT_EQ(reinterpret_cast<unsigned char*>(&out)[0], 0x3A);
  sri.hSetResult = sheet.pages.front();
  EXPECT_EQ(sheet.Call(PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&sri)), 1);
  EXPECT_TRUE(HasSignature(out));
  EXPECT_EQ(sheet.Call(PROPSHEETUI_REASON_DESTROY), 1);
  EXPECT_EQ(sheet.Call(PROPSHEETUI_REASON_DESTROY), -1) << "no sheet is open any more";
}

// A missing sibling module or paper table: the sheet refuses to open with
// its status, and gives back what it took.
TEST_F(Sheets, RefusesToOpenWithoutWhatItNeeds) {
  const std::wstring folder = InstalledDriverFolder();
  const std::wstring cc = folder + L"\\VQ312CC.dll", moved = folder + L"\\VQ312CC.dll.away";
  ASSERT_TRUE(MoveFileW(cc.c_str(), moved.c_str()));
  JobSettings in = stored_, out{};
  DOCUMENTPROPERTYHEADER header = Header(&in, &out);
  EXPECT_EQ(host::RunSheet(document_, &header, kCaption, nullptr).initResult, 0);
  ASSERT_TRUE(MoveFileW(moved.c_str(), cc.c_str()));

  Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
  std::vector<unsigned char> papers;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(admin.get(), L"APUI_PAPERINFO", &papers, &type));
  ASSERT_EQ(SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_PAPERINFO"), REG_BINARY,
                            papers.data(), 100), ERROR_SUCCESS);
  EXPECT_EQ(host::RunSheet(document_, &header, kCaption, nullptr).initResult, 0);
  ASSERT_EQ(SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_PAPERINFO"), REG_BINARY,
                            papers.data(), static_cast<DWORD>(papers.size())), ERROR_SUCCESS);

  DOCUMENTPROPERTYHEADER unknown = header;
  unknown.hPrinter = nullptr;
  unknown.pszPrinterName = const_cast<wchar_t*>(L"No such printer");
  EXPECT_EQ(host::RunSheet(document_, &unknown, kCaption, nullptr).initResult, -1);
}

// Opening and closing a sheet many times leaves nothing behind.
TEST_F(Sheets, ThousandOpenCloseCyclesLeaveHandlesAndMemoryFlat) {
  // Wine answers neither GetProcessHandleCount nor PrivateUsage, so: the
  // value the next new handle gets (handles fill the lowest free slot, so
  // leaked handles push it up), and the private resident memory the kernel
  // reports for this process (Windows: the private bytes).
  auto measure = [](uintptr_t* nextHandle, SIZE_T* priv) {
    HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    *nextHandle = reinterpret_cast<uintptr_t>(probe);
    CloseHandle(probe);
    *priv = 0;
    HANDLE f = CreateFileW(L"Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      char text[4096] = {};
      DWORD n = 0;
      ReadFile(f, text, sizeof text - 1, &n, nullptr);
      CloseHandle(f);
      if (const char* rss = std::strstr(text, "RssAnon:")) *priv = std::strtoull(rss + 8, nullptr, 10) * 1024;
    } else {
      PROCESS_MEMORY_COUNTERS_EX pmc{};
      GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
      *priv = pmc.PrivateUsage;
    }
  };
  JobSettings in = stored_, out{};
  DOCUMENTPROPERTYHEADER header = Header(&in, &out);
  auto cycle = [&] { return DirectSheet(document_, &header).init; };
  for (int i = 0; i < 20; ++i) ASSERT_EQ(cycle(), 1);  // warm up caches
  uintptr_t handlesBefore, handlesAfter;
  SIZE_T privBefore, privAfter;
  measure(&handlesBefore, &privBefore);
  ASSERT_NE(handlesBefore, 0u);
  ASSERT_NE(privBefore, 0u) << "no memory figure to compare";
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(cycle(), 1);
  measure(&handlesAfter, &privAfter);
  std::printf("1000 INIT/DESTROY cycles: next handle %#llx -> %#llx, private memory %zu KB -> %zu KB\n",
              static_cast<unsigned long long>(handlesBefore), static_cast<unsigned long long>(handlesAfter),
              privBefore / 1024, privAfter / 1024);
  EXPECT_LE(handlesAfter, handlesBefore + 2 * 4) << "handles left behind";
  EXPECT_LE(privAfter, privBefore + 512 * 1024) << "more than 0.5 KB a cycle";
}

}  // namespace
}  // namespace vq::wine
