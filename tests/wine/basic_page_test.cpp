// The basic settings page of the installed driver, worked the way a user
// works it: lists chosen, numbers typed, buttons clicked, message boxes
// answered; then OK, and the record the caller gets is examined.
#include <gtest/gtest.h>

#include "base/ddk_win.h"

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "devinfo/text_ids.h"
#include "modules/cp/cp_ids.h"
#include "pages/basic/favourites.h"
#include "pages/control_ids.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "tests/wine/installed_printer.h"
#include "tests/wine/page_driver.h"
#include "tools/sheet_host/sheet_host_win.h"
#include "uicore/page_preview.h"

namespace vq::wine {
namespace {

constexpr wchar_t kCaption[] = L"Basic page test";

std::wstring DeviceText(uint32_t id) {
  static const DifmApi difm = InstalledDifm();
  static const DifmHandle h = difm.DifmMapper ? difm.DifmMapper(kDifmMagic, u"Morva VT-Q3120") : 0;
  char16_t text[2048] = {};
  uint32_t bytes = sizeof text - 2;
  if (!h || !difm.DifmGetRealDataStr(h, id, text, &bytes)) return {};
  return reinterpret_cast<const wchar_t*>(text);
}

std::wstring MessageText(uint32_t id) { return InstalledMessageText(id); }

std::wstring WindowTextOf(HWND w) {
  wchar_t text[2048] = {};
  GetWindowTextW(w, text, 2048);
  return text;
}

// What a user does on the page, from the drive thread (each call waits
// until the page has handled it, message boxes answered included).
struct Page {
  HWND sheet, page;
  void Choose(int list, int index) const {
    SendDlgItemMessageW(page, list, CB_SETCURSEL, index, 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, list)));
  }
  int Find(int list, const std::wstring& text) const {
    return static_cast<int>(SendDlgItemMessageW(page, list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(text.c_str())));
  }
  int Selected(int list) const { return static_cast<int>(SendDlgItemMessageW(page, list, CB_GETCURSEL, 0, 0)); }
  std::wstring ItemText(int list, int index) const {
    wchar_t t[256] = {};
    SendDlgItemMessageW(page, list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(t));
    return t;
  }
  void Click(int id) const { SendDlgItemMessageW(page, id, BM_CLICK, 0, 0); }
  // A click that opens a dialog the test works: posted, so the drive
  // thread goes on while the dialog runs on the sheet's thread.
  void PostClick(int id) const {
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
  }
  // A visible window of the sheet's thread: a dialog holding `control`, or
  // (control 0) a window of class `cls`. Waits up to 8 s.
  HWND Window(int control, const wchar_t* cls = nullptr) const {
    for (int i = 0; i < 400; ++i, Sleep(20)) {
      struct Want {
        int control;
        const wchar_t* cls;
        HWND found;
      } want{control, cls, nullptr};
      EnumThreadWindows(GetWindowThreadProcessId(page, nullptr), [](HWND w, LPARAM l) {
        auto* want = reinterpret_cast<Want*>(l);
        wchar_t name[32] = {};
        GetClassNameW(w, name, 32);
        if (IsWindowVisible(w) && (want->control ? GetDlgItem(w, want->control) != nullptr : !wcscmp(name, want->cls)))
          want->found = w;
        return want->found ? FALSE : TRUE;
      }, reinterpret_cast<LPARAM>(&want));
      if (want.found || !control) return want.found;
    }
    return nullptr;
  }
  // Returns once the sheet's thread is back in its loop (a closed dialog's
  // aftermath on the page done).
  void Sync() const { SendMessageW(page, WM_NULL, 0, 0); }
  bool Checked(int id) const { return SendDlgItemMessageW(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(page, id)); }
  void Type(int id, const wchar_t* text) const { SetDlgItemTextW(page, id, text); }
  std::wstring Get(int id) const {
    wchar_t t[256] = {};
    GetDlgItemTextW(page, id, t, 256);
    return t;
  }
  // The whole sheet painted before the screen is read back (a loaded
  // machine paints late).
  void Paint() const {
    RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
  }
  bool ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(sheet, 12321)); }
  // Leaves the page for the next one and comes back (PSN_KILLACTIVE,
  // PSN_SETACTIVE).
  void Revisit() const {
    SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
  }
};

class BasicPage : public testing::Test {
 protected:
  void SetUp() override {
    boxes_.AnswerEveryDialog();  // the page's dialogs close as soon as they show
    ASSERT_TRUE(printer_);
    ASSERT_NE(ui_, nullptr);
    entry_ = reinterpret_cast<host::SheetEntry>(
        reinterpret_cast<void*>(GetProcAddress(ui_, "DrvDocumentPropertySheets")));
    ASSERT_NE(entry_, nullptr);
    ASSERT_EQ(DocumentProperties(printer_.get(), nullptr, &stored_, DM_OUT_BUFFER), 1);
    SetSpecialSet(0x10);
  }
  void TearDown() override {
    SetSpecialSet(0x10);
    FreeLibrary(ui_);
  }
  static void SetSpecialSet(BYTE value) {
    Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
    SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_SPECIALSET"), REG_BINARY, &value, 1);
  }
  // Opens the sheet on `in`, runs `drive` on the basic page, presses OK.
  // `mode` adds DM_USER_DEFAULT: the printer's own defaults, where the
  // favourites and the custom papers are edited.
  host::HostResult Run(JobSettings* in, JobSettings* out, std::function<void(const Page&)> drive, DWORD mode = 0) {
    DOCUMENTPROPERTYHEADER h{};
    h.cbSize = sizeof h;
    h.hPrinter = printer_.get();
    h.pszPrinterName = const_cast<wchar_t*>(kPrinterName);
    h.pdmIn = reinterpret_cast<DEVMODEW*>(in);
    h.pdmOut = reinterpret_cast<DEVMODEW*>(out);
    h.cbOut = sizeof *out;
    h.fMode = DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER | mode;
    return host::RunSheet(entry_, &h, kCaption, [&](HWND sheet) {
      Sleep(200);
      drive(Page{sheet, PropSheet_GetCurrentPageHwnd(sheet)});
      PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
  }
  JobSettings Validated(JobSettings js) {
    Win32PrinterStore store(printer_.get(), false);
    EXPECT_TRUE(ValidateJobSettings(&js, &store, Services()));
    return js;
  }

  Printer printer_;
  HMODULE ui_ = LoadInstalledModule(L"VQ312UI.dll");
  host::SheetEntry entry_ = nullptr;
  JobSettings stored_{};
  BoxAnswerer boxes_;
};

// The bytes of the record the page may write (offset, size).
struct Field {
  size_t offset, size;
};
constexpr Field kPageFields[] = {
    {76, 2},    {78, 2},   {80, 2},   {82, 2},  {86, 2},  {90, 2},   {96, 2},  {102, 64},
    {240, 4},   {244, 4},  {252, 4},  {256, 224}, {484, 4}, {532, 4}, {536, 4}, {584, 128},
    {712, 4},   {732, 4},  {736, 4},  {1356, 4}, {1360, 4},
};

// Every byte outside the page's fields comes back as it went in, and the
// record passes validation unchanged.
void ExpectOnlyPageFieldsChanged(const JobSettings& in, const JobSettings& out, const JobSettings& revalidated) {
  std::vector<bool> pageByte(sizeof(JobSettings), false);
  for (const Field& f : kPageFields)
    for (size_t i = 0; i < f.size; ++i) pageByte[f.offset + i] = true;
  const auto* a = reinterpret_cast<const unsigned char*>(&in);
  const auto* b = reinterpret_cast<const unsigned char*>(&out);
  std::vector<size_t> foreign;
  for (size_t i = 0; i < sizeof(JobSettings); ++i)
    if (!pageByte[i] && a[i] != b[i]) foreign.push_back(i);
  EXPECT_TRUE(foreign.empty()) << "bytes changed that are not the page's, from offset "
                               << (foreign.empty() ? 0 : foreign.front()) << ", " << foreign.size() << " in all";
  EXPECT_EQ(std::memcmp(&out, &revalidated, sizeof out), 0) << "validation changes the record";
}

TEST_F(BasicPage, CopiesOrientationAndTheSettingsName) {
  JobSettings in = stored_, out{};
  struct Copies {
    const wchar_t* typed;
    const wchar_t* shown;
  };
  const Copies copies[] = {{L"0", L"1"}, {L"99999", L"1"}, {L"abc", L"1"}, {L"999", L"999"},
                           {L"1000", L"1"}, {L"7", L"7"}};
  int low = 0, high = 0;
  bool changedBefore = true, changedAfter = false;
  std::wstring nameBefore, nameAfter;
  const host::HostResult r = Run(&in, &out, [&](const Page& p) {
    changedBefore = p.ApplyEnabled();
    nameBefore = p.Get(IDC_BASIC_SETTINGS_NAME);
    for (const Copies& c : copies) {
      p.Type(IDC_BASIC_COPIES, c.typed);
      EXPECT_EQ(p.Get(IDC_BASIC_COPIES), c.shown) << "typed " << c.typed;
    }
    SendDlgItemMessageW(p.page, IDC_BASIC_COPIES_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                        reinterpret_cast<LPARAM>(&high));
    p.Click(IDC_BASIC_LANDSCAPE);
    p.Click(IDC_BASIC_ORIENTATION_LOCK);
    EXPECT_TRUE(p.Checked(IDC_BASIC_LANDSCAPE));
    changedAfter = p.ApplyEnabled();
    nameAfter = p.Get(IDC_BASIC_SETTINGS_NAME);
    p.Revisit();
    EXPECT_EQ(p.Get(IDC_BASIC_COPIES), L"7");
  });
  ASSERT_EQ(r.setResult, CPSUI_OK);
  EXPECT_TRUE(boxes_.Take().empty());
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, InstalledDifm().DifmGetCopiesInf(InstalledDifm().DifmMapper(kDifmMagic, u"Morva VT-Q3120")));
  EXPECT_FALSE(changedBefore);
  EXPECT_TRUE(changedAfter) << "PSM_CHANGED";
  // The defaults are named in the user's language, whatever language the
  // stored record's name was written in.
  ASSERT_EQ(Validated(in).SettingsNameId, 1u);
  EXPECT_EQ(nameBefore, DeviceText(text_ids::kSettingsNameDefault));
  EXPECT_EQ(nameAfter, DeviceText(4760));
  EXPECT_EQ(out.dmCopies, 7);
  EXPECT_EQ(out.dmOrientation, 2);
  EXPECT_EQ(out.OrientationLock, kLockLandscape);
  EXPECT_EQ(out.SettingsNameId, 0u);
  ExpectOnlyPageFieldsChanged(Validated(in), out, Validated(out));
}

TEST_F(BasicPage, NarrowMarginPapersAndTheMinimumLength) {
  JobSettings in = stored_, out{};
  in.Option728 = 1;
  const std::wstring round = L"Round-corner label 60 x 40 mm", shortLabel = L"Label 24 x 24 mm";
  const std::wstring prefix = DeviceText(4388);
  int narrowIndex = -1, afterRefusal = -1, plainIndex = -1;
  std::vector<std::wstring> refusal, afterContinuous, afterShort, afterLong;
  bool optionEnabled = false;
  const host::HostResult r = Run(&in, &out, [&](const Page& p) {
    narrowIndex = p.Find(IDC_BASIC_PAPER_LIST, prefix + round);
    p.Choose(IDC_BASIC_PAPER_LIST, narrowIndex);
    refusal = boxes_.Take();
    afterRefusal = p.Selected(IDC_BASIC_PAPER_LIST);
    p.Choose(IDC_BASIC_PAPER_LIST, p.Find(IDC_BASIC_PAPER_LIST, L"Continuous 60 mm"));
    afterContinuous = boxes_.Take();
    p.Choose(IDC_BASIC_PAPER_LIST, p.Find(IDC_BASIC_PAPER_LIST, shortLabel));
    afterShort = boxes_.Take();
    p.Choose(IDC_BASIC_PAPER_LIST, p.Find(IDC_BASIC_PAPER_LIST, L"Label 100 x 50 mm"));
    afterLong = boxes_.Take();
    // The printer now allows narrow margins: coming back to the page lists
    // the paper plainly, and it can be chosen.
    SetSpecialSet(0x00);
    p.Revisit();
    plainIndex = p.Find(IDC_BASIC_PAPER_LIST, round);
    p.Choose(IDC_BASIC_PAPER_LIST, plainIndex);
    optionEnabled = p.Enabled(IDC_BASIC_ROTATE_180);
  });
  ASSERT_EQ(r.setResult, CPSUI_OK);
  ASSERT_GE(narrowIndex, 0) << "the narrow paper is listed with its prefix";
  // Refused, and the first paper (24 x 24 mm, short) is taken instead.
  ASSERT_EQ(refusal.size(), 2u);
  EXPECT_EQ(refusal[0], DeviceText(5386));
  EXPECT_EQ(refusal[1], MessageText(4114));
  EXPECT_EQ(afterRefusal, 0);
  EXPECT_TRUE(afterContinuous.empty());
  // 24 mm after continuous stock (no gap counts): ceil(381 / 240) = 2.
  ASSERT_EQ(afterShort.size(), 1u);
  EXPECT_EQ(afterShort[0], MessageText(4114));
  EXPECT_TRUE(afterLong.empty());
  EXPECT_EQ(plainIndex, narrowIndex);
  EXPECT_TRUE(optionEnabled);
  EXPECT_EQ(out.CopyCount1, 2u);
  EXPECT_EQ(out.CopyCount2, 2u);
  EXPECT_EQ(out.dmPaperSize, 1009);
  EXPECT_STREQ(reinterpret_cast<const wchar_t*>(out.dmFormName), round.c_str());
  EXPECT_EQ(out.Paper.narrowMargin, 0u);
  ExpectOnlyPageFieldsChanged(Validated(in), out, Validated(out));
}

TEST_F(BasicPage, MediaDefaultsAndApply) {
  JobSettings in = stored_, out{};
  std::vector<std::wstring> glossy, leaving, plain;
  bool unchangedAfterApply = false, changedAfterDefaults = false;
  std::wstring copiesAfterDefaults;
  const host::HostResult r = Run(&in, &out, [&](const Page& p) {
    p.Choose(IDC_BASIC_MEDIA_LIST, p.Find(IDC_BASIC_MEDIA_LIST, L"Glossy paper label"));
    glossy = boxes_.Take();
    p.Choose(IDC_BASIC_MEDIA_LIST, p.Find(IDC_BASIC_MEDIA_LIST, L"Plain paper label"));
    leaving = boxes_.Take();
    p.Choose(IDC_BASIC_MEDIA_LIST, p.Find(IDC_BASIC_MEDIA_LIST, L"Matte paper label"));
    plain = boxes_.Take();
    PropSheet_Apply(p.sheet);
    Sleep(100);
    unchangedAfterApply = !p.ApplyEnabled();
    p.Type(IDC_BASIC_COPIES, L"3");
    p.Click(IDC_BASIC_LANDSCAPE);
    p.Click(IDC_BASIC_DEFAULTS);
    copiesAfterDefaults = p.Get(IDC_BASIC_COPIES);
    changedAfterDefaults = p.ApplyEnabled();
    EXPECT_TRUE(p.Checked(IDC_BASIC_PORTRAIT));
    EXPECT_FALSE(p.Checked(IDC_BASIC_ORIENTATION_LOCK));
    EXPECT_EQ(p.Get(IDC_BASIC_SETTINGS_NAME), DeviceText(4760));
  });
  ASSERT_EQ(r.setResult, CPSUI_OK);
  EXPECT_TRUE(glossy.empty());
  ASSERT_EQ(leaving.size(), 1u);
  EXPECT_EQ(leaving[0], MessageText(4118));
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(plain[0], MessageText(4115));
  EXPECT_TRUE(unchangedAfterApply) << "PSM_UNCHANGED after the apply";
  EXPECT_TRUE(changedAfterDefaults);
  EXPECT_EQ(copiesAfterDefaults, L"1");
  EXPECT_EQ(out.dmCopies, 1);
  EXPECT_EQ(out.dmOrientation, 1);
  EXPECT_EQ(out.MediaTypeId, 1u) << "the defaults' media";
  ExpectOnlyPageFieldsChanged(Validated(in), out, Validated(out));
}

// A favourite stored in the printer is chosen from the page's list; the
// favourites, summary and version dialogs open from their buttons and close
// again (the printer's own defaults: the favourites are edited there).
TEST_F(BasicPage, FavouriteSummaryAndVersion) {
  Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
  Win32PrinterStore store(admin.get(), false);
  FavouriteSet former{}, set{};
  ASSERT_TRUE(ReadFavourites(&store, &former));
  set = former;
  set.count = 1;
  set.slots[0].used = kFavouriteUsed;
  JobSettings& fav = set.slots[0].settings;
  fav = Validated(stored_);
  fav.dmCopies = 5;
  fav.dmOrientation = 2;
  const std::u16string name = u"Wire labels";
  std::fill(std::begin(fav.SettingsName), std::end(fav.SettingsName), u'\0');
  std::copy(name.begin(), name.end(), fav.SettingsName);
  ASSERT_TRUE(SaveFavourites(&store, set, 1));

  JobSettings in = stored_, out{};
  std::wstring shownName, copies;
  bool landscape = false, changed = false;
  struct Button {
    int id;
    uint32_t title;  // text of the dialog's title
  };
  const Button buttons[] = {{IDC_BASIC_FAVOURITES_DIALOG, 4750}, {IDC_BASIC_SUMMARY, 4360}, {IDC_BASIC_VERSION, 4749}};
  std::vector<std::vector<std::wstring>> titles;
  const host::HostResult r = Run(&in, &out, [&](const Page& p) {
    p.Choose(IDC_BASIC_FAVOURITES_LIST, 2);
    shownName = p.Get(IDC_BASIC_SETTINGS_NAME);
    copies = p.Get(IDC_BASIC_COPIES);
    landscape = p.Checked(IDC_BASIC_LANDSCAPE);
    changed = p.ApplyEnabled();
    boxes_.TakeTitles();
    for (const Button& b : buttons) {
      EXPECT_TRUE(p.Enabled(b.id)) << b.id;
      p.Click(b.id);  // returns once the answerer has closed the dialog
      titles.push_back(boxes_.TakeTitles());
    }
  }, DM_USER_DEFAULT);
  SaveFavourites(&store, former, former.count);
  ASSERT_EQ(r.setResult, CPSUI_OK);
  EXPECT_EQ(shownName, L"Wire labels");
  EXPECT_EQ(copies, L"5");
  EXPECT_TRUE(landscape);
  EXPECT_TRUE(changed) << "PSM_CHANGED after a favourite";
  ASSERT_EQ(titles.size(), std::size(buttons));
  for (size_t i = 0; i < titles.size(); ++i) {
    ASSERT_FALSE(DeviceText(buttons[i].title).empty());
    EXPECT_EQ(titles[i], std::vector<std::wstring>{DeviceText(buttons[i].title)}) << "button " << buttons[i].id;
  }
  EXPECT_EQ(out.SettingsNameId, 2u);
  EXPECT_EQ(std::u16string(out.SettingsName), name);
  EXPECT_EQ(out.dmCopies, 5);
  EXPECT_EQ(out.dmOrientation, 2);
  ExpectOnlyPageFieldsChanged(Validated(in), out, Validated(out));
}

// The paper list's details tooltip follows the highlighted item of the
// open list and goes with it; button 1101 opens VQ312CP's dialog, where a
// paper is added, and the page's list shows it once the dialog closes.
TEST_F(BasicPage, DetailsTooltipAndCustomPaper) {
  Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
  std::vector<unsigned char> table, count;
  DWORD tableType = 0, countType = 0;
  ASSERT_TRUE(ReadValue(admin.get(), L"APUI_PAPERINFO", &table, &tableType));
  ASSERT_TRUE(ReadValue(admin.get(), L"APUI_PAPERNUM", &count, &countType));
  const std::wstring added = L"Shelf 50x30";
  std::wstring tip, tipAfterClose = L"?";
  bool dialogOpened = false, enabled = false;
  int listedBefore = -2, listedAfter = -2;
  JobSettings in = stored_, out{};
  const host::HostResult r = Run(&in, &out, [&](const Page& p) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(GetDlgItem(p.page, IDC_BASIC_PAPER_LIST), &info);
    SendDlgItemMessageW(p.page, IDC_BASIC_PAPER_LIST, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(info.hwndList, LB_SETCURSEL, p.Find(IDC_BASIC_PAPER_LIST, L"Label 100 x 50 mm"), 0);
    if (HWND t = p.Window(0, TOOLTIPS_CLASSW)) tip = WindowTextOf(t);
    SendDlgItemMessageW(p.page, IDC_BASIC_PAPER_LIST, CB_SHOWDROPDOWN, FALSE, 0);
    HWND left = p.Window(0, TOOLTIPS_CLASSW);
    tipAfterClose = left ? WindowTextOf(left) : L"";

    p.Choose(IDC_BASIC_PAPER_LIST, p.Find(IDC_BASIC_PAPER_LIST, L"User-defined size"));
    listedBefore = p.Find(IDC_BASIC_PAPER_LIST, added);
    enabled = p.Enabled(IDC_BASIC_CUSTOM_PAPER);
    boxes_.Leave(IDC_CP_LIST);  // the test works the dialog; its questions are answered Yes
    p.PostClick(IDC_BASIC_CUSTOM_PAPER);
    HWND w = p.Window(IDC_CP_LIST);
    dialogOpened = w != nullptr;
    if (!w) return;
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDC_CP_NEW, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, IDC_CP_NEW)));
    SetDlgItemTextW(w, IDC_CP_NAME, added.c_str());
    SetDlgItemTextW(w, IDC_CP_WIDTH, L"50.0");
    SetDlgItemTextW(w, IDC_CP_LENGTH, L"30.0");
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDC_CP_SAVE, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, IDC_CP_SAVE)));
    PostMessageW(w, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 400 && IsWindow(w); ++i) Sleep(20);
    p.Sync();
    listedAfter = p.Find(IDC_BASIC_PAPER_LIST, added);
  }, DM_USER_DEFAULT);
  boxes_.Leave(0);
  SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_PAPERINFO"), tableType, table.data(), DWORD(table.size()));
  SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_PAPERNUM"), countType, count.data(), DWORD(count.size()));
  ASSERT_EQ(r.setResult, CPSUI_OK);
  EXPECT_NE(tip.find(L"100.0"), std::wstring::npos) << "the width of the highlighted paper";
  EXPECT_NE(tip.find(L"50.0"), std::wstring::npos) << "its length";
  EXPECT_TRUE(tipAfterClose.empty()) << "the tooltip goes with the list";
  EXPECT_TRUE(enabled);
  ASSERT_TRUE(dialogOpened);
  const std::vector<std::wstring> asked = boxes_.Take();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find(added), std::wstring::npos) << "the question before a new paper";
  EXPECT_EQ(listedBefore, -1);
  EXPECT_GE(listedAfter, 0);
}

// A size made in one sheet is offered again in the next sheet of the
// process. Only the first sheet of a process gives it its user size, so the
// test runs in a process of its own (ctest: wine_basic_user_paper).
TEST_F(BasicPage, UserDefinedSizeCarriesToTheNextSheet) {
  if (testing::UnitTest::GetInstance()->test_to_run_count() != 1)
    GTEST_SKIP() << "needs a process whose first sheet this is";
  JobSettings first = stored_, out{};
  Win32PrinterStore store(printer_.get(), false);
  ASSERT_TRUE(FindPaperInfo(&store, kUserDefinedPaper, &first.Paper));
  first.dmPaperSize = kUserDefinedPaper;
  first.Paper.paperWidth = 777;
  first.Paper.paperLength = 555;
  first.dmPaperWidth = 777;
  first.dmPaperLength = 555;
  ASSERT_EQ(Run(&first, &out, [](const Page&) {}).setResult, CPSUI_OK);
  EXPECT_EQ(out.dmPaperWidth, 777);

  JobSettings second = stored_, out2{};
  ASSERT_EQ(Run(&second, &out2, [](const Page& p) {
              p.Choose(IDC_BASIC_PAPER_LIST, p.Find(IDC_BASIC_PAPER_LIST, L"User-defined size"));
            }).setResult, CPSUI_OK);
  EXPECT_EQ(out2.dmPaperSize, 256);
  EXPECT_EQ(out2.dmPaperWidth, 777);
  EXPECT_EQ(out2.dmPaperLength, 555);
  EXPECT_EQ(out.Option484, 0u) << "the sheet that gave the process its user size";
}

// The preview shows the sheet: a liner around labels on a liner, none
// around continuous stock. Pixels are read back from the screen.
TEST_F(BasicPage, PreviewDrawsTheSheet) {
  struct Case {
    const wchar_t* paper;
    bool liner;
  };
  const Case cases[] = {{L"Label 100 x 50 mm", true}, {L"Continuous 60 mm", false}};
  for (const Case& c : cases) {
    JobSettings in = stored_, out{};
    COLORREF centre = 0, edge = 0;
    Run(&in, &out, [&](const Page& p) {
      p.Choose(IDC_BASIC_PAPER_LIST, p.Find(IDC_BASIC_PAPER_LIST, c.paper));
      Sleep(300);
      HWND frame = GetDlgItem(p.page, IDC_BASIC_PAPER_PREVIEW);
      RECT rc{};
      GetClientRect(frame, &rc);
      PaperInfo paper{};
      Win32PrinterStore store(printer_.get(), false);
      std::vector<PaperInfo> table = ReadPaperTable(&store);
      for (const PaperInfo& t : table)
        if (std::wstring(reinterpret_cast<const wchar_t*>(t.paperName)) == c.paper) paper = t;
      const preview::SheetPlacement place = preview::PlaceSheet(paper, rc.right, rc.bottom);
      HDC dc = GetDC(frame);
      centre = GetPixel(dc, (place.label.left + place.label.right) / 2, (place.label.top + place.label.bottom) / 2 + 8);
      edge = GetPixel(dc, (place.outer.left + place.outer.right) / 2, place.outer.top + 1);
      ReleaseDC(frame, dc);
    });
    SCOPED_TRACE(testing::Message() << std::string(c.paper, c.paper + wcslen(c.paper)));
    EXPECT_EQ(centre, RGB(255, 255, 255));
    EXPECT_EQ(edge == RGB(150, 255, 255), c.liner) << std::hex << edge;
  }
}

// Screenshots of the page in the user's language: the user-defined size,
// and a narrow-margin paper on a printer that allows it.
TEST_F(BasicPage, Screenshots) {
  const char* folder = std::getenv("VQ312_SCREENSHOTS");
  if (!folder) GTEST_SKIP() << "VQ312_SCREENSHOTS names no folder";
  std::wstring dir = L"Z:";
  for (const char* q = folder; *q; ++q) dir += *q == '/' ? L'\\' : static_cast<wchar_t>(*q);
  const char* lang = std::getenv("LANG");
  const std::wstring suffix = lang && !std::strncmp(lang, "zh", 2) ? L"-zh" : L"-en";
  for (size_t at = dir.find(L'\\', 3); at != std::wstring::npos; at = dir.find(L'\\', at + 1))
    CreateDirectoryW(dir.substr(0, at).c_str(), nullptr);
  CreateDirectoryW(dir.c_str(), nullptr);
  SetSpecialSet(0x00);
  JobSettings in = stored_, out{};
  Run(&in, &out, [&](const Page& p) {
    p.Choose(IDC_BASIC_PAPER_LIST, static_cast<int>(SendDlgItemMessageW(p.page, IDC_BASIC_PAPER_LIST, CB_GETCOUNT, 0, 0)) - 1);
    p.Paint();
    EXPECT_TRUE(host::SaveWindowBitmap(p.sheet, dir + L"\\basic-user-paper" + suffix + L".bmp"));
    p.Choose(IDC_BASIC_PAPER_LIST, p.Find(IDC_BASIC_PAPER_LIST, L"Round-corner label 80 x 50 mm"));
    p.Click(IDC_BASIC_LANDSCAPE);
    p.Paint();
    EXPECT_TRUE(host::SaveWindowBitmap(p.sheet, dir + L"\\basic-narrow-paper" + suffix + L".bmp"));
  });
}

}  // namespace
}  // namespace vq::wine
