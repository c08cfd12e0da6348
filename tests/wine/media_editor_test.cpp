// The custom media type editor under Wine, driven by messages from a second
// thread: adding and changing a medium with the name, class list, edits and
// scroll bars; the refusals; deleting with the profile entry cleared and
// the favourites repaired; a damaged table; and `vq312ctl media`.
//
// The program links the pages' code and stands in for VQ312UI.dll (the
// installed module's templates and driver folder). The printer's media
// table, favourites and profile list are saved before each test and put
// back after it.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/module_win.h"
#include "pages/basic/favourites.h"
#include "pages/page_layouts.h"
#include "pages/utility/media_editor.h"
#include "pages/utility/media_editor_win.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/installed_printer.h"

namespace vq::wine {
namespace {

class MediaEditor : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(admin_);
    sheet_.hPrinter = printer_.get();
    sheet_.printerName.assign(kPrinterName, wcslen(kPrinterName) + 1);
    const std::vector<unsigned char> stored = StoredDevMode(printer_.get());
    CopyDevModeBytes(stored.data(), uint32_t(stored.size()), &sheet_.workSettings);
    Win32PrinterStore store(admin_.get(), false);
    ASSERT_EQ(media::LoadMediaTable(&store, &builtIn_), media::TableStatus::kOk);
    sheet_.mediaTable.assign(builtIn_.data(), builtIn_.size());
    sheet_.mediaCount = DWORD(builtIn_.size());
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }
  std::vector<MediaData> Table() {
    Win32PrinterStore store(admin_.get(), false);
    std::vector<MediaData> table;
    EXPECT_EQ(media::LoadMediaTable(&store, &table), media::TableStatus::kOk);
    return table;
  }
  INT_PTR Run(Driver& driver) {
    return driver.Run([&] { return ShowMediaEditor(owner_, sheet_); });
  }
  static void Expect(const Driver& d) {
    for (const std::string& f : d.failures) ADD_FAILURE() << f;
  }
  static void Scroll(HWND w, int bar, int code) {
    SendMessageW(w, WM_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(GetDlgItem(w, bar)));
  }
  static void ChooseClass(HWND w, int item) {
    SendDlgItemMessageW(w, IDC_MEDIA_EDITOR_CLASS_LIST, CB_SETCURSEL, item, 0);
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDC_MEDIA_EDITOR_CLASS_LIST, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(w, IDC_MEDIA_EDITOR_CLASS_LIST)));
  }

  Printer admin_{kPrinterName, PRINTER_ALL_ACCESS};
  Printer printer_{kPrinterName, PRINTER_ACCESS_USE};
  // APUI_MEDIADATA first: a test puts the table back whole from it.
  SavedPrinterData saved_{admin_.get(), {L"APUI_MEDIADATA", L"APUI_MEDIADATACOUNT", L"APUI_ENTRYSET",
                                         L"APUI_ENTRYSETNUM", L"APUI_ICPMPROFILELIST"}};
  std::vector<MediaData> builtIn_;
  SheetContext sheet_;
  HWND owner_ = nullptr;
};

// A new medium: film defaults, one bar paged right and one edit typed over
// its limit; then changed under its own name; the refusals on the way; and
// Close asking about unsaved edits.
TEST_F(MediaEditor, AddChangeRefuse) {
  sheet_.workSettings.MediaTypeId = 0;  // no row: the name and class are free
  std::vector<std::wstring> asked(8);
  Driver driver([&](Driver& d) {
    HWND w = d.Dialog(IDC_MEDIA_EDITOR_LIST);
    if (!w) return;
    Driver::Type(w, IDC_MEDIA_EDITOR_NAME, L"Canvas\tlabel");
    ChooseClass(w, 2);                                        // film: 50 50 50 50 / 40 ...
    Scroll(w, IDC_MEDIA_EDITOR_SET1_CYAN_BAR, SB_PAGERIGHT);  // cyan 55: above the default
    Driver::Type(w, IDC_MEDIA_EDITOR_SET2_BLACK_EDIT, L"250");  // capped at 100
    d.seen.push_back(WindowText(GetDlgItem(w, IDC_MEDIA_EDITOR_NAME)));
    d.seen.push_back(WindowText(GetDlgItem(w, IDC_MEDIA_EDITOR_SET2_BLACK_EDIT)));
    Driver::Click(w, IDC_MEDIA_EDITOR_SAVE);
    asked[0] = d.Answer(IDYES);
    d.seen.push_back(std::to_wstring(Driver::Rows(w, IDC_MEDIA_EDITOR_LIST)));
    // Changed under its own name, within the defaults now.
    Scroll(w, IDC_MEDIA_EDITOR_SET1_CYAN_BAR, SB_PAGELEFT);
    Driver::Type(w, IDC_MEDIA_EDITOR_SET2_BLACK_EDIT, L"20");
    Driver::Click(w, IDC_MEDIA_EDITOR_SAVE);
    asked[1] = d.Answer(IDYES);
    const struct {
      const wchar_t* name;
      int button;
    } refusals[] = {{L"*Star", IDOK}, {L"", IDOK}, {nullptr, IDOK}};
    for (size_t i = 0; i < std::size(refusals); ++i) {
      const std::wstring builtIn = Driver::RowText(w, IDC_MEDIA_EDITOR_LIST, 0);
      Driver::Type(w, IDC_MEDIA_EDITOR_NAME, refusals[i].name ? refusals[i].name : builtIn.c_str());
      Driver::Click(w, IDC_MEDIA_EDITOR_SAVE);
      asked[2 + i] = d.Answer(refusals[i].button);
    }
    Driver::Type(w, IDC_MEDIA_EDITOR_NAME, L"Blank");
    for (int edit : {IDC_MEDIA_EDITOR_SET1_CYAN_EDIT, IDC_MEDIA_EDITOR_SET1_MAGENTA_EDIT,
                     IDC_MEDIA_EDITOR_SET1_YELLOW_EDIT, IDC_MEDIA_EDITOR_SET1_BLACK_EDIT,
                     IDC_MEDIA_EDITOR_SET2_CYAN_EDIT, IDC_MEDIA_EDITOR_SET2_MAGENTA_EDIT,
                     IDC_MEDIA_EDITOR_SET2_YELLOW_EDIT, IDC_MEDIA_EDITOR_SET2_BLACK_EDIT})
      Driver::Type(w, edit, L"0");
    Driver::Click(w, IDC_MEDIA_EDITOR_SAVE);
    asked[5] = d.Answer(IDOK);
    d.Shot(w, L"media-editor");
    Driver::Click(w, IDC_MEDIA_EDITOR_CLOSE);
    asked[6] = d.Answer(IDNO);  // stays open
    Driver::Click(w, IDC_MEDIA_EDITOR_CLOSE);
    asked[7] = d.Answer(IDYES);
  });
  EXPECT_EQ(Run(driver), 0);
  Expect(driver);
  EXPECT_EQ(asked, (std::vector<std::wstring>{Message(4060, L"Canvaslabel"), Message(4002, L"Canvaslabel"),
                                               Message(4129), Message(4086), Message(4087),
                                               Message(4131, L"Blank"), Message(4067), Message(4067)}));
  // The tab goes from the name, 250 is capped, the list shows the new row.
  EXPECT_EQ(driver.seen, (std::vector<std::wstring>{L"Canvaslabel", L"100",
                                                   std::to_wstring(builtIn_.size() + 1)}));
  const std::vector<MediaData> table = Table();
  ASSERT_EQ(table.size(), builtIn_.size() + 1);
  const MediaData& added = table.back();
  EXPECT_EQ(added.mediaId, kFirstUserMediaId);
  EXPECT_EQ(media::NameOf(added), u"Canvaslabel");
  EXPECT_EQ(added.mediaClass, 4u);
  EXPECT_EQ(media::ValuesOf(added), (media::InkValues{50, 50, 50, 50, 20, 40, 40, 40}));
  // The document sheet's table follows, so the basic page offers it.
  EXPECT_EQ(sheet_.mediaCount, builtIn_.size() + 1);
}

// Deleting a medium that favourites use and that has profile 2: the
// question names the favourites, entry 2 of the profile list is zeroed, the
// favourite takes the default medium. The job's own medium is refused.
TEST_F(MediaEditor, DeleteRepairsFavouritesAndProfile) {
  ASSERT_EQ(RunCtl(L"media add Linen 1 40 40 40 40 30 30 30 30"), 0u);
  ASSERT_EQ(RunCtl(L"media add Vinyl 1 40 40 40 40 30 30 30 30"), 0u);
  std::vector<MediaData> stored = Table();
  stored[builtIn_.size()].profileNumber = 2;
  Win32PrinterStore admin(admin_.get(), false);
  ASSERT_TRUE(WriteMediaTable(&admin, stored.data(), uint32_t(stored.size())));
  std::vector<unsigned char> profiles(8 + 2 * kProfileEntrySize, 0x5A);
  const uint32_t header[2] = {uint32_t(profiles.size()), 2};
  std::memcpy(profiles.data(), header, 8);
  SetPrinterDataW(admin_.get(), const_cast<wchar_t*>(L"APUI_ICPMPROFILELIST"), REG_BINARY,
                  profiles.data(), DWORD(profiles.size()));
  auto set = std::make_unique<FavouriteSet>();
  ASSERT_TRUE(ReadFavourites(&admin, set.get()));
  JobSettings linen = sheet_.workSettings;
  linen.MediaTypeId = kFirstUserMediaId;
  ASSERT_TRUE(AddFavourite(set.get(), linen, u"On linen"));
  ASSERT_TRUE(SaveFavourites(&admin, *set, set->count));
  sheet_.workSettings.MediaTypeId = kFirstUserMediaId + 1;  // the job prints on Vinyl
  const int linenRow = int(builtIn_.size());
  std::wstring asked[2];
  Driver driver([&](Driver& d) {
    HWND w = d.Dialog(IDC_MEDIA_EDITOR_LIST);
    if (!w) return;
    Driver::Click(w, IDC_MEDIA_EDITOR_DELETE);
    asked[0] = d.Answer(IDOK);
    Driver::SelectRow(w, IDC_MEDIA_EDITOR_LIST, linenRow);
    Driver::Click(w, IDC_MEDIA_EDITOR_DELETE);
    asked[1] = d.Answer(IDYES);
    d.seen.push_back(Driver::RowText(w, IDC_MEDIA_EDITOR_LIST, linenRow));
    Driver::Click(w, IDC_MEDIA_EDITOR_CLOSE);
  });
  EXPECT_EQ(Run(driver), 0);
  Expect(driver);
  EXPECT_EQ(asked[0], Message(4119));
  EXPECT_EQ(asked[1], Message(4066, L"Linen"));
  EXPECT_EQ(driver.seen, std::vector<std::wstring>{L"Vinyl"});
  const std::vector<MediaData> table = Table();
  EXPECT_EQ(media::FindById(table, kFirstUserMediaId), -1);
  EXPECT_GE(media::FindById(table, kFirstUserMediaId + 1), 0);
  std::vector<unsigned char> after;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(admin_.get(), L"APUI_ICPMPROFILELIST", &after, &type));
  ASSERT_EQ(after.size(), profiles.size());
  EXPECT_EQ(std::memcmp(after.data(), header, 8), 0) << "the count stays";
  EXPECT_EQ(after[8], 0x5A) << "entry 1 is kept";
  EXPECT_EQ(after[8 + kProfileEntrySize], 0) << "entry 2 is cleared";
  EXPECT_EQ(after.back(), 0);
  ASSERT_TRUE(ReadFavourites(&admin, set.get()));
  JobSettings defaults{};
  SetDefaultJobSettings(&defaults, Services());
  EXPECT_EQ(set->slots[0].settings.MediaTypeId, defaults.MediaTypeId);
}

// A media value of the wrong size: message 4085, everything but Close and
// Help disabled, nothing written. Then the console tool refuses it too, and
// works the table once it is whole again.
TEST_F(MediaEditor, DamagedTableAndConsole) {
  std::vector<unsigned char> cut(builtIn_.size() * kMediaDataSize - 7, 0);
  SetPrinterDataW(admin_.get(), const_cast<wchar_t*>(L"APUI_MEDIADATA"), REG_BINARY, cut.data(),
                  DWORD(cut.size()));
  std::wstring told;
  Driver driver([&](Driver& d) {
    told = d.Answer(IDOK);  // before the dialog shows
    HWND w = d.Dialog(IDC_MEDIA_EDITOR_LIST);
    if (!w) return;
    for (int id : {IDC_MEDIA_EDITOR_SAVE, IDC_MEDIA_EDITOR_NAME, IDC_MEDIA_EDITOR_LIST,
                   IDC_MEDIA_EDITOR_SET1_CYAN_BAR, IDC_MEDIA_EDITOR_CLOSE, IDC_MEDIA_EDITOR_HELP})
      d.seen.push_back(IsWindowEnabled(GetDlgItem(w, id)) ? L"on" : L"off");
    Driver::Click(w, IDC_MEDIA_EDITOR_CLOSE);
  });
  EXPECT_EQ(Run(driver), 0);
  Expect(driver);
  EXPECT_EQ(told, Message(4085));
  EXPECT_EQ(driver.seen, (std::vector<std::wstring>{L"off", L"off", L"off", L"off", L"on", L"on"}));
  std::vector<unsigned char> still;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(admin_.get(), L"APUI_MEDIADATA", &still, &type));
  EXPECT_EQ(still, cut);
  EXPECT_EQ(RunCtl(L"media add Cut 1 40 40 40 40 30 30 30 30"), 1u);
  EXPECT_EQ(RunCtl(L"media list"), 1u);

  saved_.Restore(saved_[0]);
  const struct {
    const wchar_t* arguments;
    DWORD exit;
    size_t added;
  } steps[] = {
      {L"media add \"Tab\tby\" 1 40 40 40 40 30 30 30 30", 0, 1},
      {L"media add Tabby 1 60 40 40 40 30 30 30 30", 1, 1},  // replacing asks: --yes needed
      {L"media add Tabby 1 60 40 40 40 30 30 30 30 --yes", 0, 1},
      {L"media add Nought 1 0 0 0 0 0 0 0 0", 1, 1},
      {L"media add \"   \" 1 40 40 40 40 30 30 30 30", 1, 1},
      {L"media add 0123456789012345678901234567890123456789 1 1 1 1 1 1 1 1 1", 1, 1},
      {L"media add Odd 3 40 40 40 40 30 30 30 30", 2, 1},
      {L"media delete 1 --yes", 1, 1},  // built in
      {L"media delete 262", 1, 1},
      {L"media delete 262 --yes", 0, 0},
      {L"media list", 0, 0},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(RunCtl(step.arguments), step.exit) << Ansi(step.arguments);
    EXPECT_EQ(Table().size(), builtIn_.size() + step.added) << Ansi(step.arguments);
  }
}

}  // namespace
}  // namespace vq::wine

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) vq::wine::g_language = argv[1];
  InitCommonControls();
  vq::g_module = vq::wine::LoadInstalledModule(L"VQ312UI.dll");
  return RUN_ALL_TESTS();
}
