// The favourites, settings summary, version and custom paper dialogs under
// Wine, driven by messages from a second thread the way a user works them:
// clicks, typed names, list selections, and the message boxes answered.
//
// The program links the pages' code and stands in for VQ312UI.dll: its
// module handle is the installed VQ312UI.dll (templates, manifest, driver
// folder with the sibling modules). The installed printer is used with its
// favourites and paper table saved at the start of each test and put back
// at the end.
//
// Run with "en" or "zh" (and LANG set to match), the Screens suite saves a
// screenshot of each dialog into screenshots\ under the working directory.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "base/module_win.h"
#include "base/text_win.h"
#include "modules/cp/cp_ids.h"
#include "modules/simulated_printer/simulated_printer_win.h"
#include "pages/basic/custom_paper_win.h"
#include "pages/basic/favourites_win.h"
#include "pages/basic/settings_list_win.h"
#include "pages/page_layouts.h"
#include "settings/printer_store_win.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/installed_printer.h"
#include "tools/sheet_host/sheet_host_win.h"
#include "uicore/texts_win.h"

namespace vq::wine {
namespace {

// ---- The installed printer, as a sheet would hold it ------------------------

class Dialogs : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(admin_);
    sheet_.hPrinter = printer_.get();
    sheet_.printerName.assign(kPrinterName, wcslen(kPrinterName) + 1);
    sheet_.userDefaultMode = TRUE;
    Win32PrinterStore store(printer_.get(), false);
    const std::vector<PaperInfo> papers = ReadPaperTable(&store);
    sheet_.paperTable.assign(papers.data(), papers.size());
    std::vector<MediaData> media;
    ReadMediaTable(&store, &media);
    sheet_.mediaTable.assign(media.data(), media.size());
    const std::vector<unsigned char> stored = StoredDevMode(printer_.get());
    CopyDevModeBytes(stored.data(), uint32_t(stored.size()), &sheet_.workSettings);
    ClearFavourites();
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(owner_);
    sim::WritePrinterState(kPrinterName, {});
  }
  void ClearFavourites() {
    std::vector<BYTE> zeros(kEntrySetSize, 0);
    DWORD zero = 0;
    SetPrinterDataW(admin_.get(), const_cast<wchar_t*>(L"APUI_ENTRYSET"), REG_BINARY, zeros.data(), kEntrySetSize);
    SetPrinterDataW(admin_.get(), const_cast<wchar_t*>(L"APUI_ENTRYSETNUM"), REG_DWORD,
                    reinterpret_cast<BYTE*>(&zero), 4);
  }
  FavouriteSet Stored() {
    FavouriteSet set{};
    Win32PrinterStore store(admin_.get(), false);
    EXPECT_TRUE(ReadFavourites(&store, &set));
    return set;
  }
  std::vector<PaperInfo> Papers() {
    Win32PrinterStore store(admin_.get(), false);
    return ReadPaperTable(&store);
  }
  static void Expect(const Driver& d) {
    for (const std::string& f : d.failures) ADD_FAILURE() << f;
  }

  Printer admin_{kPrinterName, PRINTER_ALL_ACCESS};
  Printer printer_{kPrinterName, PRINTER_ACCESS_USE};
  SavedPrinterData saved_{admin_.get(), {L"APUI_ENTRYSET", L"APUI_ENTRYSETNUM", L"APUI_ENTRYSETMAXNUM",
                                         L"APUI_PAPERINFO", L"APUI_PAPERNUM"}};
  SheetContext sheet_;
  HWND owner_ = nullptr;
};

// Add, refuse a reserved name, overwrite, rename, delete, the entry that
// carries the current settings' name, SettingsNameId following a deletion.
TEST_F(Dialogs, FavouritesAddRenameOverwriteDelete) {
  sheet_.workSettings.dmCopies = 5;
  uint32_t selection = 0;
  FavouriteSet set{};
  std::wstring texts[8];
  Driver driver([&](Driver& d) {
    HWND w = d.Dialog(IDC_FAVOURITES_LIST);
    if (!w) return;
    d.seen.push_back(std::to_wstring(Driver::Rows(w, IDC_FAVOURITES_LIST)));
    Driver::Type(w, IDC_FAVOURITES_NAME, L"Shop");
    Driver::Click(w, IDC_FAVOURITES_SAVE);
    texts[0] = d.Answer(IDYES);
    Driver::SelectRow(w, IDC_FAVOURITES_LIST, 0);
    // The name of item 0 ("current settings") is refused.
    Driver::Type(w, IDC_FAVOURITES_NAME, Driver::RowText(w, IDC_FAVOURITES_LIST, 0).c_str());
    Driver::Click(w, IDC_FAVOURITES_SAVE);
    texts[1] = d.Answer(IDOK);
    Driver::Type(w, IDC_FAVOURITES_NAME, L"Depot");
    Driver::Click(w, IDC_FAVOURITES_SAVE);
    texts[2] = d.Answer(IDYES);
    Driver::SelectRow(w, IDC_FAVOURITES_LIST, 0);
    Driver::Type(w, IDC_FAVOURITES_NAME, L"Depot");
    Driver::Click(w, IDC_FAVOURITES_SAVE);
    texts[3] = d.Answer(IDYES);  // overwrite
    Driver::SelectRow(w, IDC_FAVOURITES_LIST, 2);
    Driver::Press(w, IDC_FAVOURITES_RENAME);
    Driver::Type(w, IDC_FAVOURITES_NAME, L"Yard");
    Driver::Press(w, IDC_FAVOURITES_SAVE);  // a rename asks nothing
    d.seen.push_back(Driver::RowText(w, IDC_FAVOURITES_LIST, 2));
    Driver::Click(w, IDC_FAVOURITES_DELETE);
    texts[4] = d.Answer(IDYES);
    d.seen.push_back(std::to_wstring(Driver::Rows(w, IDC_FAVOURITES_LIST)));
    d.seen.push_back(Driver::RowText(w, IDC_FAVOURITES_LIST, 2));
    d.Shot(w, L"favourites");
    Driver::Click(w, IDC_FAVOURITES_OK);
  });
  const INT_PTR result = driver.Run([&] {
    return ShowFavouritesDialog(owner_, sheet_, &set, &selection, true);
  });
  Expect(driver);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(texts[0], Message(4003, L"Shop"));
  EXPECT_EQ(texts[1], Message(4087));
  EXPECT_EQ(texts[2], Message(4003, L"Depot"));
  EXPECT_EQ(texts[3], Message(4002, L"Depot"));
  EXPECT_EQ(texts[4], Message(4001, L"Yard"));
  ASSERT_EQ(driver.seen.size(), 4u);
  EXPECT_EQ(driver.seen[0], L"2");
  EXPECT_EQ(driver.seen[1], L"Yard");
  EXPECT_EQ(driver.seen[2], L"3");
  EXPECT_EQ(driver.seen[3], L"Depot");
  const FavouriteSet stored = Stored();
  EXPECT_EQ(stored.count, 1u);
  EXPECT_EQ(stored.Name(0), u"Depot");
  EXPECT_EQ(stored.slots[0].settings.dmCopies, 5);
  EXPECT_EQ(stored.slots[1].used, 0u);
  std::vector<unsigned char> value;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(admin_.get(), L"APUI_ENTRYSET", &value, &type));
  EXPECT_EQ(CheckEntrySet(value.data(), value.size()), EntrySetStatus::kOk);
  // OK leaves the selection (item 0 after the deletion) in the record.
  EXPECT_EQ(selection, 0u);
  EXPECT_EQ(sheet_.workSettings.SettingsNameId, 0u);
}

TEST_F(Dialogs, FavouriteDeletionKeepsTheSelectionOnItsEntry) {
  // Three entries; the working record is entry C (index 4) under that name.
  FavouriteSet set{};
  {
    Win32PrinterStore store(admin_.get(), false);
    ASSERT_TRUE(ReadFavourites(&store, &set));
    for (const char16_t* name : {u"A", u"B", u"C"}) AddFavourite(&set, sheet_.workSettings, name);
    ASSERT_TRUE(SaveFavourites(&store, set, set.count));
  }
  SetSettingsName(&sheet_.workSettings, u"C");
  sheet_.workSettings.SettingsNameId = 4;
  uint32_t selection = 4;
  std::wstring refused, asked;
  Driver driver([&](Driver& d) {
    HWND w = d.Dialog(IDC_FAVOURITES_LIST);
    if (!w) return;
    Driver::Click(w, IDC_FAVOURITES_DELETE);  // C carries the current name
    refused = d.Answer(IDOK);
    Driver::SelectRow(w, IDC_FAVOURITES_LIST, 2);
    Driver::Click(w, IDC_FAVOURITES_DELETE);
    asked = d.Answer(IDYES);
    Driver::Click(w, IDC_FAVOURITES_CANCEL);
  });
  EXPECT_EQ(driver.Run([&] { return ShowFavouritesDialog(owner_, sheet_, &set, &selection, true); }),
            IDCANCEL);
  Expect(driver);
  EXPECT_EQ(refused, Message(4091));
  EXPECT_EQ(asked, Message(4001, L"A"));
  EXPECT_EQ(selection, 3u);
  EXPECT_EQ(sheet_.workSettings.SettingsNameId, 3u);
  EXPECT_EQ(Stored().Name(1), u"C");
}

// The page's list and ApplyFavourite, on a window holding the page's combo
// box: icons for a narrow-margin entry, refusal, loading an entry.
TEST_F(Dialogs, PageListAppliesAndRefuses) {
  FavouriteSet set{};
  {
    Win32PrinterStore store(admin_.get(), false);
    ASSERT_TRUE(ReadFavourites(&store, &set));
    JobSettings narrow = sheet_.workSettings, wide = sheet_.workSettings;
    narrow.dmPaperSize = int16_t(sheet_.paperTable[0].paperId);
    wide.dmCopies = 9;
    AddFavourite(&set, narrow, u"Narrow");
    AddFavourite(&set, wide, u"Nine");
    ASSERT_TRUE(SaveFavourites(&store, set, set.count));
  }
  sheet_.paperTable[0].marginLeft = 5;  // the sheet's table: this paper is narrow now
  HWND page = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND combo = CreateWindowExW(0, WC_COMBOBOXEXW, L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 200, page,
                               reinterpret_cast<HMENU>(INT_PTR(kFavouritesListControl)), nullptr, nullptr);
  ASSERT_TRUE(combo);
  ASSERT_TRUE(ReadPageFavourites(sheet_, &set));
  FillFavouritesList(page, sheet_, set, false, true);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
  COMBOBOXEXITEMW item{};
  item.mask = CBEIF_IMAGE;
  item.iItem = 2;
  SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, 12);  // the "cannot be used" picture
  item.iItem = 3;
  SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, 3);

  std::wstring refusal;
  FavouriteApplied refused{};
  Driver driver([&](Driver& d) { refusal = d.Answer(IDOK); });
  driver.Run([&] {
    refused = ApplyFavourite(page, sheet_, set, 2, false);
    return 0;
  });
  Expect(driver);
  EXPECT_EQ(refused, FavouriteApplied::kRefused);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_FALSE(refusal.empty());
  EXPECT_EQ(ApplyFavourite(page, sheet_, set, 3, false), FavouriteApplied::kEntry);
  EXPECT_EQ(sheet_.workSettings.dmCopies, 9);
  EXPECT_EQ(sheet_.workSettings.SettingsNameId, 3u);
  EXPECT_EQ(ApplyFavourite(page, sheet_, set, 5, false), FavouriteApplied::kNothing);
  EXPECT_EQ(ApplyFavourite(page, sheet_, set, 1, false), FavouriteApplied::kDefaults);
  EXPECT_EQ(sheet_.workSettings.SettingsNameId, 1u);
  // A damaged entry is not taken.
  set.slots[1].settings.dmDriverExtra = 7;
  EXPECT_EQ(ApplyFavourite(page, sheet_, set, 3, true), FavouriteApplied::kNothing);
  EXPECT_TRUE(FavouritesDialogAllowed(sheet_));
  sheet_.userDefaultMode = FALSE;
  EXPECT_FALSE(FavouritesDialogAllowed(sheet_));
  DestroyWindow(page);
}

// The summary's rows, and its text on the clipboard as another program
// reads it (delayed rendering: built when asked for).
TEST_F(Dialogs, SummaryListAndClipboard) {
  sheet_.workSettings.dmCopies = 3;
  std::string clip;
  Driver driver([&](Driver& d) {
    HWND w = d.Dialog(IDC_SUMMARY_LIST);
    if (!w) return;
    d.seen.push_back(std::to_wstring(Driver::Rows(w, IDC_SUMMARY_LIST)));
    d.seen.push_back(Driver::RowText(w, IDC_SUMMARY_LIST, 3, 1));  // copies
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDC_SUMMARY_COPY, BN_CLICKED), 0);
    if (OpenClipboard(nullptr)) {
      if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) clip = text;
        GlobalUnlock(data);
      }
      CloseClipboard();
    }
    d.Shot(w, L"summary");
    Driver::Click(w, IDOK);
  });
  EXPECT_EQ(driver.Run([&] { return ShowSettingsSummary(owner_, sheet_.workSettings, true, printer_.get()); }),
            0);
  Expect(driver);
  ASSERT_EQ(driver.seen.size(), 2u);
  EXPECT_EQ(driver.seen[0], L"31");
  EXPECT_EQ(driver.seen[1], L"3");
  const std::string expected = Ansi(SettingsText(sheet_.workSettings, true, CurrentTextHandle(), printer_.get()).c_str());
  EXPECT_EQ(clip, expected);
  EXPECT_NE(clip.find(" : Morva VT-Q3120\r\n"), std::string::npos);
  EXPECT_NE(clip.find(std::string(80, '=')), std::string::npos);
  EXPECT_NE(clip.find("\r\nVersion 1.00\r\n"), std::string::npos);
}

// The version dialog reads the simulated printer's identity through the
// port module; an unplugged port gets message 4079.
TEST_F(Dialogs, VersionReadsThePrinter) {
  std::wstring failure;
  Driver driver([&](Driver& d) {
    HWND w = d.Dialog(IDC_VERSION_READ);
    if (!w) return;
    d.seen.push_back(WindowText(GetDlgItem(w, IDC_VERSION_VERSION_BLOCK)));
    Driver::Click(w, IDC_VERSION_READ);
    for (int i = 0; i < 100 && WindowText(GetDlgItem(w, IDC_VERSION_SERIAL)).empty(); ++i) Sleep(30);
    d.seen.push_back(WindowText(GetDlgItem(w, IDC_VERSION_SERIAL)));
    d.seen.push_back(WindowText(GetDlgItem(w, IDC_VERSION_FIRMWARE)));
    d.Shot(w, L"version");
    sim::PrinterState unplugged;
    std::string error;
    sim::ApplySetting("port=unplugged", &unplugged, &error);
    sim::WritePrinterState(kPrinterName, unplugged);
    Driver::Click(w, IDC_VERSION_READ);
    failure = d.Answer(IDOK);
    d.seen.push_back(IsWindowEnabled(GetDlgItem(w, IDC_VERSION_READ)) ? L"enabled" : L"disabled");
    Driver::Click(w, IDOK);
  });
  ASSERT_TRUE(sim::WritePrinterState(kPrinterName, {}));
  EXPECT_EQ(driver.Run([&] { return ShowVersionDialog(owner_, printer_.get()); }), 0);
  Expect(driver);
  ASSERT_EQ(driver.seen.size(), 4u);
  EXPECT_EQ(driver.seen[0], L"Microsoft Windows 8.1 / 10\nMorva VT-Q3120\nVersion 1.00\n"
                            L"Copyright (C) 2026 Morva. All rights reserved.");
  EXPECT_EQ(driver.seen[1], L"VQ31200417");
  EXPECT_EQ(driver.seen[2], L"Ver.1.05A");
  EXPECT_EQ(failure, Message(4079));
  EXPECT_EQ(driver.seen[3], L"enabled");
}

// The custom paper dialog of VQ312CP.dll with this module's checks: a new
// paper numbered and stored, a width out of range set back with the check's
// own message and caption, the paper deleted again.
TEST_F(Dialogs, CustomPaperAddCheckDelete) {
  const size_t before = Papers().size();
  std::wstring confirm, range, caption, deletion, widthAfter;
  int itemsAfterAdd = 0, itemsAfterDelete = 0;
  size_t storedAfterAdd = 0;
  uint32_t newId = 0;
  Driver driver([&](Driver& d) {
    HWND w = d.Dialog(IDC_CP_LIST);
    if (!w) return;
    Driver::Press(w, IDC_CP_NEW);
    Driver::Type(w, IDC_CP_NAME, L"Shelf 50x30");
    Driver::Type(w, IDC_CP_WIDTH, L"50.0");
    Driver::Type(w, IDC_CP_LENGTH, L"30.0");
    Driver::Click(w, IDC_CP_SAVE);
    confirm = d.Answer(IDYES);
    itemsAfterAdd = int(SendDlgItemMessageW(w, IDC_CP_LIST, LB_GETCOUNT, 0, 0));
    const std::vector<PaperInfo> stored = Papers();
    storedAfterAdd = stored.size();
    if (!stored.empty()) newId = stored.back().paperId;
    d.Shot(w, L"custom-paper");
    Driver::Type(w, IDC_CP_WIDTH, L"23.9");
    Driver::Click(w, IDC_CP_SAVE);
    d.Answer(IDYES);  // same name: change it
    range = d.Answer(IDOK, &caption);
    widthAfter = WindowText(GetDlgItem(w, IDC_CP_WIDTH));
    Driver::Click(w, IDC_CP_DELETE);
    deletion = d.Answer(IDYES);
    itemsAfterDelete = int(SendDlgItemMessageW(w, IDC_CP_LIST, LB_GETCOUNT, 0, 0));
    Driver::Click(w, IDOK);
  });
  CustomPaperOutcome outcome;
  bool ran = false;
  driver.Run([&] {
    ran = RunCustomPaperDialog(owner_, sheet_, true, nullptr, &outcome);
    return 0;
  });
  Expect(driver);
  ASSERT_TRUE(ran);
  EXPECT_EQ(confirm, Message(4003, L"Shelf 50x30"));
  EXPECT_EQ(itemsAfterAdd, 2);
  EXPECT_EQ(storedAfterAdd, before + 1);
  EXPECT_EQ(newId, kFirstUserPaperId);
  EXPECT_EQ(caption, L"正在检查适合程度");
  EXPECT_EQ(range, L"纸张宽度已超出设定范围。\r\n请设定为24.0 ～ 119.0。");
  EXPECT_EQ(widthAfter, L"24.0");
  EXPECT_EQ(deletion, L"删除名称 [Shelf 50x30]?");
  EXPECT_EQ(itemsAfterDelete, 1);
  EXPECT_EQ(Papers().size(), before);
  EXPECT_TRUE(outcome.confirmed);
  EXPECT_EQ(outcome.paper.paperId, kUserDefinedPaper);
}

// A missing module, or one without the four exports, ends the action
// without a window and without touching the paper table.
TEST_F(Dialogs, CustomPaperModuleMissingOrIncomplete) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring empty = std::wstring(temp) + L"vq312-no-cp", broken = std::wstring(temp) + L"vq312-bad-cp";
  CreateDirectoryW(empty.c_str(), nullptr);
  CreateDirectoryW(broken.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW((InstalledDriverFolder() + L"\\VQ312RD.dll").c_str(),
                        (broken + L"\\VQ312CP.dll").c_str(), FALSE));
  const size_t writes = Papers().size();
  for (const std::wstring& folder : {empty, broken}) {
    CustomPaperOutcome outcome;
    EXPECT_FALSE(RunCustomPaperDialogFrom(folder, owner_, sheet_, true, nullptr, &outcome));
    EXPECT_FALSE(outcome.confirmed);
  }
  EXPECT_EQ(Papers().size(), writes);
}

// vq312ctl favourites: an exported file imports back; a file of the wrong
// size, from a newer driver, or with more entries than the printer takes is
// refused with the stored value left as it was.
TEST_F(Dialogs, FavouritesFileImportIsWholeOrNothing) {
  FavouriteSet set{};
  {
    Win32PrinterStore store(admin_.get(), false);
    ASSERT_TRUE(ReadFavourites(&store, &set));
    AddFavourite(&set, sheet_.workSettings, u"Exported");
    AddFavourite(&set, sheet_.workSettings, u"Second");
    ASSERT_TRUE(SaveFavourites(&store, set, set.count));
  }
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring file = std::wstring(temp) + L"vq312-favourites.bin";
  ASSERT_EQ(RunCtl(L"favourites export \"" + file + L"\""), 0u);
  ClearFavourites();
  ASSERT_EQ(RunCtl(L"favourites import \"" + file + L"\""), 0u);
  EXPECT_EQ(Stored().count, 2u);
  EXPECT_EQ(Stored().Name(1), u"Second");

  std::vector<unsigned char> good;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(admin_.get(), L"APUI_ENTRYSET", &good, &type));
  auto write = [&](std::vector<unsigned char> bytes) {
    HANDLE f = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
  };
  std::vector<unsigned char> shorter(good.begin(), good.end() - 1), newer = good;
  newer[kFavouriteEntrySize + 4 + offsetof(JobSettings, dmDriverVersion) + 1] = 0x07;
  DWORD one = 1;
  for (const auto& [what, bytes, maximum] :
       {std::tuple{"one byte short", shorter, 10u}, std::tuple{"newer driver", newer, 10u},
        std::tuple{"more than the printer takes", good, 1u}}) {
    write(bytes);
    DWORD max = maximum;
    SetPrinterDataW(admin_.get(), const_cast<wchar_t*>(L"APUI_ENTRYSETMAXNUM"), REG_DWORD,
                    reinterpret_cast<BYTE*>(&max), 4);
    SetPrinterDataW(admin_.get(), const_cast<wchar_t*>(L"APUI_ENTRYSETNUM"), REG_DWORD,
                    reinterpret_cast<BYTE*>(&one), 4);
    EXPECT_EQ(RunCtl(L"favourites import \"" + file + L"\""), 1u) << what;
    std::vector<unsigned char> after;
    ASSERT_TRUE(ReadValue(admin_.get(), L"APUI_ENTRYSET", &after, &type));
    EXPECT_EQ(after, good) << what;
    EXPECT_EQ(Stored().count, 1u) << what;
  }
  DeleteFileW(file.c_str());
}

// vq312ctl papers: the dialog's checks without a window. Questions refuse
// unless --yes answers them.
TEST_F(Dialogs, PapersThroughTheChecks) {
  const size_t before = Papers().size();
  const struct {
    const wchar_t* arguments;
    DWORD exit;
    size_t papers;  // table size afterwards, relative to before
  } steps[] = {
      {L"papers add \"Ctl 40x20\" 40 20 left=2 right=2", 0, 1},
      {L"papers add Tiny 23.9 20", 1, 1},                // width below 24.0 mm
      {L"papers add \"Ctl 40x20\" 45 20", 1, 1},        // same name: replacing needs --yes
      {L"papers add \"Ctl 40x20\" 45 20 --yes", 0, 1},
      {L"papers add Wide 60 20 left=200 right=200", 1, 1},  // margins larger than the paper
      {L"papers delete 336", 1, 1},                      // needs --yes
      {L"papers delete 1001 --yes", 1, 1},               // built in
      {L"papers delete 336 --yes", 0, 0},
      {L"papers list", 0, 0},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(RunCtl(step.arguments), step.exit) << Ansi(step.arguments);
    EXPECT_EQ(Papers().size(), before + step.papers) << Ansi(step.arguments);
  }
}

// One screenshot of each dialog at rest, in the language of the run.
TEST_F(Dialogs, Screens) {
  FavouriteSet set{};
  {
    Win32PrinterStore store(admin_.get(), false);
    ASSERT_TRUE(ReadFavourites(&store, &set));
    AddFavourite(&set, sheet_.workSettings, u"Shop labels");
    AddFavourite(&set, sheet_.workSettings, u"Depot");
    ASSERT_TRUE(SaveFavourites(&store, set, set.count));
  }
  uint32_t selection = 2;
  sheet_.workSettings.SettingsNameId = 2;
  Driver favourites([](Driver& d) {
    if (HWND w = d.Dialog(IDC_FAVOURITES_LIST)) d.Shot(w, L"favourites-rest"), Driver::Click(w, IDC_FAVOURITES_CANCEL);
  });
  favourites.Run([&] { return ShowFavouritesDialog(owner_, sheet_, &set, &selection, true); });
  Expect(favourites);
  Driver summary([](Driver& d) {
    if (HWND w = d.Dialog(IDC_SUMMARY_LIST)) d.Shot(w, L"summary-rest"), Driver::Click(w, IDOK);
  });
  summary.Run([&] { return ShowSettingsSummary(owner_, sheet_.workSettings, false, printer_.get()); });
  Expect(summary);
  Driver version([](Driver& d) {
    if (HWND w = d.Dialog(IDC_VERSION_READ)) d.Shot(w, L"version-rest"), Driver::Click(w, IDOK);
  });
  version.Run([&] { return ShowVersionDialog(owner_, printer_.get()); });
  Expect(version);
  Driver paper([](Driver& d) {
    if (HWND w = d.Dialog(IDC_CP_LIST)) d.Shot(w, L"custom-paper-rest"), Driver::Click(w, IDCANCEL);
  });
  CustomPaperOutcome outcome;
  paper.Run([&] { return INT_PTR(RunCustomPaperDialog(owner_, sheet_, true, nullptr, &outcome)); });
  Expect(paper);
  EXPECT_FALSE(outcome.confirmed);
}

}  // namespace
}  // namespace vq::wine

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) vq::wine::g_language = argv[1];
  InitCommonControls();
  // The program stands in for the UI module: templates, manifest and the
  // driver folder are the installed module's.
  vq::g_module = vq::wine::LoadInstalledModule(L"VQ312UI.dll");
  return RUN_ALL_TESTS();
}
