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

// The driver's sheet entry called directly with a host that only creates
// the pages: INIT in the constructor, DESTROY and page clean-up at the end.
struct DirectSheet {
  DirectSheet(host::SheetEntry entry, void* header) : entry(entry) {
    info.cbSize = sizeof info;
    info.Reason = PROPSHEETUI_REASON_INIT;
    info.hComPropSheet = &pages;
    info.pfnComPropSheet = [](HANDLE h, UINT fn, LPARAM l1, LPARAM) -> LONG_PTR {
      if (fn != CPSFUNC_ADD_PROPSHEETPAGEW) return 0;
      HPROPSHEETPAGE page = CreatePropertySheetPageW(reinterpret_cast<PROPSHEETPAGEW*>(l1));
      static_cast<std::vector<HPROPSHEETPAGE>*>(h)->push_back(page);
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

// The optional pages follow the printer's data.
TEST_F(Sheets, PagesFollowThePrintersSwitches) {
  struct Case {
    DWORD printLayout, utility;
    size_t pages;
  };
  const Case cases[] = {{1, 0, 5}, {1, 1, 6}, {0, 1, 5}, {0, 0, 4}, {1, 2, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.printLayout << ", utility " << c.utility);
    SetDword(L"APUI_DWPRINTLAYOUT", c.printLayout);
    SetDword(L"APUI_BUTILITY", c.utility);
    JobSettings in = stored_, out{};
    DOCUMENTPROPERTYHEADER header = Header(&in, &out);
    const host::HostResult r = host::RunSheet(document_, &header, kCaption, PressCancel);
    EXPECT_EQ(r.initResult, 1);
    EXPECT_EQ(r.pages, c.pages);
  }
  SetDword(L"APUI_DWPRINTLAYOUT", 1);
  SetDword(L"APUI_BUTILITY", 0);
}

TEST_F(Sheets, DeviceSheetShowsTheUtilityPage) {
  DEVICEPROPERTYHEADER header{sizeof header, 0, printer_.get(), const_cast<wchar_t*>(kPrinterName)};
  const host::HostResult r = host::RunSheet(device_, &header, L"Printer properties test", PressOk);
  EXPECT_EQ(r.initResult, 1);
  EXPECT_EQ(r.pages, 1u);
  EXPECT_EQ(r.destroyResult, 1);
  DEVICEPROPERTYHEADER noPrinter{sizeof header, 0, nullptr, const_cast<wchar_t*>(kPrinterName)};
  EXPECT_EQ(host::RunSheet(device_, &noPrinter, L"x", nullptr).initResult, -1);
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

// The paper table is read before the help path is built: a printer missing
// both fails for its paper table (0). The caller's handle, from which the
// help path comes, is no printer handle (a closed one would be handed out
// again to the sheet's own). Whatever INIT returned, the context stays for
// DESTROY, which releases it once.
TEST_F(Sheets, InitReadsThePaperTableBeforeTheHelpPath) {
  const HANDLE closed = reinterpret_cast<HANDLE>(uintptr_t{0xBAD0});
  Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
  std::vector<unsigned char> papers;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(admin.get(), L"APUI_PAPERINFO", &papers, &type));
  JobSettings in = stored_, out{};
  const struct { const char* what; bool paperTable; HANDLE caller; LONG want; } cases[] = {
      {"no paper table, no help path", false, closed, 0},
      {"no help path", true, closed, -1},
      {"no paper table", false, printer_.get(), 0},
      {"everything there", true, printer_.get(), 1},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_PAPERINFO"), REG_BINARY,
                              papers.data(), c.paperTable ? DWORD(papers.size()) : 100),
              ERROR_SUCCESS);
    DOCUMENTPROPERTYHEADER header = Header(&in, &out);
    header.hPrinter = c.caller;
    DirectSheet sheet(document_, &header);
    EXPECT_EQ(sheet.init, c.want) << c.what;
    EXPECT_EQ(sheet.Call(PROPSHEETUI_REASON_DESTROY), 1) << c.what << ": the context was kept";
    EXPECT_EQ(sheet.Call(PROPSHEETUI_REASON_DESTROY), -1) << c.what;
  }
  ASSERT_EQ(SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_PAPERINFO"), REG_BINARY,
                            papers.data(), DWORD(papers.size())), ERROR_SUCCESS);
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
