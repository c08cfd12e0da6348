// The colour page and the colour adjustment dialog of the installed driver,
// driven by messages in this project's sheet host (so OK hands the record
// back), and VQ312CC.dll's MCC4Preview called as the page calls it.
//
// With VQ312_SHOTS set to a folder, the screenshot test saves the colour
// page (colour and grayscale) and the adjustment dialog (defaults and a
// strong cyan balance) there, named after the UI language.
#include <gtest/gtest.h>

#include "base/ddk_win.h"

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "pages/control_ids.h"
#include "tests/wine/page_driver.h"

namespace vq::wine {
namespace {

constexpr int kColourPageIndex = 1;
using PreviewFn = int(WINAPI*)(const void*, void*, const void*);

// Everything a test reads from the page and dialog, filled on the drive
// thread while the windows exist.
struct Seen {
  int modeCount = -1, resolutionCount = -1, halftoneCount = -1;
  int mode = -2, resolution = -2, halftone = -2;
  bool modeEnabled = false, grayscaleChecked = false;
  std::wstring modeName0, settingsName;
  bool previewDrawn = false, paperDrawn = false;
  std::vector<std::wstring> edits;  // cyan, magenta, yellow, black, brightness, contrast
  std::vector<int> bars;            // scroll positions
  std::vector<bool> rowEnabled;     // cyan, magenta, yellow, black, brightness, contrast
  int gamma = -2, style = -2;
  bool gammaEnabled = false;
};

void ReadPage(HWND page, Seen* s) {
  s->modeCount = Count(page, IDC_COLOUR_COLOUR_MODE_LIST);
  s->resolutionCount = Count(page, IDC_COLOUR_RESOLUTION_LIST);
  s->halftoneCount = Count(page, IDC_COLOUR_HALFTONE_LIST);
  s->mode = Selected(page, IDC_COLOUR_COLOUR_MODE_LIST);
  s->resolution = Selected(page, IDC_COLOUR_RESOLUTION_LIST);
  s->halftone = Selected(page, IDC_COLOUR_HALFTONE_LIST);
  s->modeEnabled = Enabled(page, IDC_COLOUR_COLOUR_MODE_LIST);
  s->grayscaleChecked = Checked(page, IDC_COLOUR_MONOCHROME);
  wchar_t name[64] = {};
  SendDlgItemMessageW(page, IDC_COLOUR_COLOUR_MODE_LIST, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(name));
  s->modeName0 = s->modeCount > 0 ? name : L"";
  s->settingsName = TextOf(page, IDC_COLOUR_SETTINGS_NAME);
  s->previewDrawn = ShowsPicture(GetDlgItem(page, IDC_COLOUR_COLOUR_PREVIEW));
  s->paperDrawn = ShowsPicture(GetDlgItem(page, IDC_COLOUR_PAPER_PREVIEW));
}

constexpr int kEdits[6] = {IDC_ADJUST_CYAN_EDIT,    IDC_ADJUST_MAGENTA_EDIT,
                           IDC_ADJUST_YELLOW_EDIT,  IDC_ADJUST_BLACK_EDIT,
                           IDC_ADJUST_BRIGHTNESS_EDIT, IDC_ADJUST_CONTRAST_EDIT};
constexpr int kBars[4] = {IDC_ADJUST_CYAN_BAR, IDC_ADJUST_MAGENTA_BAR, IDC_ADJUST_YELLOW_BAR,
                          IDC_ADJUST_BLACK_BAR};

void ReadDialog(HWND d, Seen* s) {
  s->edits.clear();
  s->bars.clear();
  s->rowEnabled.clear();
  for (int id : kEdits) {
    s->edits.push_back(TextOf(d, id));
    s->rowEnabled.push_back(Enabled(d, id));
  }
  for (int id : kBars) s->bars.push_back(GetScrollPos(GetDlgItem(d, id), SB_CTL));
  s->gamma = Selected(d, IDC_ADJUST_GAMMA_LIST);
  s->style = Selected(d, IDC_ADJUST_STYLE_LIST);
  s->gammaEnabled = Enabled(d, IDC_ADJUST_GAMMA_LIST);
  s->previewDrawn = ShowsPicture(GetDlgItem(d, IDC_ADJUST_COLOUR_PREVIEW));
}

// Opens the adjustment dialog from the page (its button posts, so this
// thread is free to drive the modal dialog), runs `drive` on it and closes
// it with `closeId`.
void InDialog(HWND page, const std::function<void(HWND)>& drive, int closeId) {
  PostClick(page, IDC_COLOUR_DETAILS);
  HWND dialog = WaitForDialog(IDC_ADJUST_CYAN_BAR);
  ASSERT_NE(dialog, nullptr);
  drive(dialog);
  PostClick(dialog, closeId);
  WaitGone(dialog);
}

class ColourPage : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sheet_.ready());
    stored_ = sheet_.Stored();
  }

  // Opens the sheet on `in`, shows the colour page, runs `drive` with it,
  // then presses OK (or Cancel); the record handed back.
  JobSettings Run(const JobSettings& in, const std::function<void(HWND page)>& drive, bool ok = true) {
    JobSettings out{};
    const host::HostResult r = sheet_.Run(in, &out, [&](HWND sheet) {
      drive(ShowPage(sheet, kColourPageIndex));
      return ok;
    });
    EXPECT_EQ(r.initResult, 1);
    return out;
  }

  DocumentSheet sheet_;
  JobSettings stored_{};
};

// The lists come from the device module and follow the record; each pick
// and the grayscale box write the record, rename the settings set and
// reach the caller on OK.
TEST_F(ColourPage, ListsGrayscaleAndApply) {
  const DifmApi difm = InstalledDifm();
  Seen before, after;
  const JobSettings out = Run(stored_, [&](HWND page) {
    ReadPage(page, &before);
    Pick(page, IDC_COLOUR_COLOUR_MODE_LIST, 1);
    Pick(page, IDC_COLOUR_RESOLUTION_LIST, 1);
    Pick(page, IDC_COLOUR_HALFTONE_LIST, 1);
    Click(page, IDC_COLOUR_MONOCHROME);
    ReadPage(page, &after);
  });
  EXPECT_EQ(before.modeCount, 2);
  EXPECT_EQ(before.resolutionCount, 2);
  EXPECT_EQ(before.halftoneCount, 2);
  EXPECT_EQ(before.mode, 0) << "the default record: Standard";
  EXPECT_EQ(before.halftone, 0);
  EXPECT_TRUE(before.modeEnabled);
  EXPECT_TRUE(before.previewDrawn);
  EXPECT_TRUE(before.paperDrawn) << "the page preview of the paper";
  // The first colour-mode name, as the device module has it.
  DifmHandle h = difm.DifmMapper(kDifmMagic, reinterpret_cast<const char16_t*>(kPrinterName));
  std::vector<uint8_t> names(2 * kDifmNameEntrySize);
  difm.DifmGetColorMophingInf(h, names.data());
  difm.DifmUnMapper(kDifmMagic, h);
  EXPECT_EQ(before.modeName0, reinterpret_cast<const wchar_t*>(names.data()));

  EXPECT_FALSE(after.modeEnabled) << "grayscale locks the colour mode";
  EXPECT_TRUE(after.grayscaleChecked);
  EXPECT_TRUE(after.previewDrawn) << "the grayscale picture";
  EXPECT_NE(after.settingsName, before.settingsName);
  EXPECT_EQ(out.ColorModeType, 6u);
  EXPECT_EQ(out.ColorMode, 0u);
  EXPECT_EQ(out.dmPrintQuality, 1200);
  EXPECT_EQ(out.dmYResolution, 1200);
  EXPECT_EQ(out.Halftone, 1u);
  EXPECT_EQ(out.Monochrome, 1u);
  EXPECT_EQ(out.ColorPlanes, 1u);
  EXPECT_EQ(out.MonoTone, 255u);
  EXPECT_EQ(out.SettingsNameId, 0u);
  EXPECT_EQ(out.Mcc3Flags & 1u, 0u);
  EXPECT_EQ(std::u16string_view(out.SettingsName), reinterpret_cast<const char16_t*>(after.settingsName.c_str()));

  // Defaults bring the lists and grayscale back and keep the adjustments.
  JobSettings in = out;
  in.CyanBalance = 17;
  in.GammaIndex = 3;
  const JobSettings reset = Run(in, [&](HWND page) { Click(page, IDC_COLOUR_DEFAULTS); });
  EXPECT_EQ(reset.Monochrome, 0u);
  EXPECT_EQ(reset.ColorPlanes, 4u);
  EXPECT_EQ(reset.ColorModeType, 0u);
  EXPECT_EQ(reset.Halftone, 3u);
  EXPECT_EQ(reset.CyanBalance, 17);
  EXPECT_EQ(reset.GammaIndex, 3u);
}

// Values typed, scrolled and picked in the dialog: each clamped as it
// arrives, nothing in the record before OK, all of it after.
TEST_F(ColourPage, AdjustmentDialogEditsReachTheRecordOnlyOnOk) {
  Seen typed, cancelledPage, defaults;
  const JobSettings cancelled = Run(stored_, [&](HWND page) {
    InDialog(page, [&](HWND d) {
      Type(d, IDC_ADJUST_CYAN_EDIT, L"99");
      Type(d, IDC_ADJUST_MAGENTA_EDIT, L"12-3");
      Type(d, IDC_ADJUST_YELLOW_EDIT, L"ab");
      Type(d, IDC_ADJUST_BLACK_EDIT, L"123456789012");
      Type(d, IDC_ADJUST_BRIGHTNESS_EDIT, L"-");
      Scroll(d, IDC_ADJUST_MAGENTA_BAR, SB_PAGELEFT);
      ReadDialog(d, &typed);
    }, IDC_ADJUST_CANCEL_BUTTON);
    ReadPage(page, &cancelledPage);
  });
  const std::vector<std::wstring> shown = {L"50", L"-8", L"0", L"50", L"-", L"0"};
  EXPECT_EQ(typed.edits, shown);
  EXPECT_EQ(typed.bars, (std::vector<int>{100, 42, 50, 100}));
  EXPECT_TRUE(typed.previewDrawn);
  EXPECT_EQ(cancelled.CyanBalance, stored_.CyanBalance);
  EXPECT_EQ(cancelled.MagentaBalance, stored_.MagentaBalance);
  EXPECT_EQ(std::u16string_view(cancelled.SettingsName), std::u16string_view(stored_.SettingsName))
      << "Cancel renames nothing";

  const JobSettings kept = Run(stored_, [&](HWND page) {
    InDialog(page, [&](HWND d) {
      Type(d, IDC_ADJUST_CYAN_EDIT, L"-20");
      Scroll(d, IDC_ADJUST_YELLOW_BAR, SB_THUMBTRACK, 70);
      Scroll(d, IDC_ADJUST_BLACK_BAR, SB_LINELEFT);
      SendDlgItemMessageW(d, IDC_ADJUST_CONTRAST_TRACK, TBM_SETPOS, TRUE, 80);
      Scroll(d, IDC_ADJUST_CONTRAST_TRACK, TB_THUMBTRACK, 80);
      Pick(d, IDC_ADJUST_STYLE_LIST, 3);
      Pick(d, IDC_ADJUST_GAMMA_LIST, 2);
      Click(d, IDC_ADJUST_BLACK_ONLY);
    }, IDC_ADJUST_OK_BUTTON);
  });
  EXPECT_EQ(kept.CyanBalance, -20);
  EXPECT_EQ(kept.YellowBalance, 20);
  EXPECT_EQ(kept.BlackBalance, -1);
  EXPECT_EQ(kept.ToneLevel2, 30);
  EXPECT_EQ(kept.ColorStyle, 3u);
  EXPECT_EQ(kept.GammaIndex, 3u);
  EXPECT_EQ(kept.ColorOptions & 1u, 1u);
  EXPECT_EQ(kept.SettingsNameId, 0u) << "OK after edits renames the set";

  JobSettings edited = kept;
  const JobSettings reset = Run(edited, [&](HWND page) {
    InDialog(page, [&](HWND d) {
      Click(d, IDC_ADJUST_DEFAULTS);
      ReadDialog(d, &defaults);
    }, IDC_ADJUST_OK_BUTTON);
  });
  EXPECT_EQ(defaults.edits, (std::vector<std::wstring>{L"0", L"0", L"0", L"0", L"0", L"0"}));
  EXPECT_EQ(defaults.gamma, 1);
  EXPECT_EQ(defaults.style, 0);
  EXPECT_EQ(reset.CyanBalance, 0);
  EXPECT_EQ(reset.GammaIndex, 2u);
  EXPECT_EQ(reset.ColorOptions & 1u, 0u);
}

// Which rows a record leaves usable.
TEST_F(ColourPage, GrayscaleAndVividRecordsLockTheirRows) {
  struct Case {
    const char* what;
    void (*edit)(JobSettings&);
    std::vector<bool> rows;
    bool gammaEnabled;
    int gamma;
  };
  const Case cases[] = {
      {"colour", [](JobSettings&) {}, {true, true, true, true, true, true}, true, 1},
      {"grayscale",
       [](JobSettings& j) { j.Monochrome = 1, j.ColorPlanes = 1, j.MonoTone = 255; },
       {false, false, false, true, false, false}, true, 1},
      {"vivid", [](JobSettings& j) { j.ColorModeType = 6, j.ColorMode = 0, j.GammaIndex = 3; },
       {true, true, true, true, true, true}, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    JobSettings in = stored_;
    c.edit(in);
    Seen seen;
    Run(in, [&](HWND page) { InDialog(page, [&](HWND d) { ReadDialog(d, &seen); }, IDC_ADJUST_CANCEL_BUTTON); }, false);
    EXPECT_EQ(seen.rowEnabled, c.rows);
    EXPECT_EQ(seen.gammaEnabled, c.gammaEnabled);
    EXPECT_EQ(seen.gamma, c.gamma);
  }
}

// A record whose colour block is outside every limit: the lists keep no
// selection, the dialog shows the limits, the preview still renders, and
// OK stores the clamped values.
TEST_F(ColourPage, OutOfRangeRecordIsClampedAndStillPreviews) {
  JobSettings in = stored_;
  in.CyanBalance = 900;
  in.BlackBalance = -2000000000;
  in.ToneLevel1 = -77;
  in.GammaIndex = 9;
  in.ColorStyle = 12;
  in.ColorMode = 55;
  Seen page, dialog;
  const JobSettings out = Run(in, [&](HWND p) {
    ReadPage(p, &page);
    InDialog(p, [&](HWND d) { ReadDialog(d, &dialog); }, IDC_ADJUST_OK_BUTTON);
  });
  EXPECT_EQ(page.mode, -1) << "no colour mode matches";
  EXPECT_TRUE(page.previewDrawn);
  EXPECT_EQ(dialog.edits[0], L"50");
  EXPECT_EQ(dialog.edits[3], L"-50");
  EXPECT_EQ(dialog.edits[4], L"-50");
  EXPECT_EQ(dialog.bars[0], 100);
  EXPECT_EQ(dialog.gamma, 1);
  EXPECT_EQ(dialog.style, 0);
  EXPECT_TRUE(dialog.previewDrawn);
  EXPECT_EQ(out.CyanBalance, 50);
  EXPECT_EQ(out.BlackBalance, -50);
  EXPECT_EQ(out.GammaIndex, 2u);
  EXPECT_EQ(out.ColorStyle, 0u);
  EXPECT_EQ(out.ColorMode, 55u) << "the record is not altered until the user picks";
}

// A colour module without MCC4Preview: the page opens with empty lists and a
// blank preview, and the sheet still works.
TEST_F(ColourPage, ColourModuleWithoutPreviewLeavesThePageEmpty) {
  const std::wstring folder = InstalledDriverFolder();
  const std::wstring cc = folder + L"\\VQ312CC.dll", kept = folder + L"\\VQ312CC.dll.kept";
  ASSERT_TRUE(MoveFileW(cc.c_str(), kept.c_str()));
  ASSERT_TRUE(CopyFileW((folder + L"\\VQ312RS.dll").c_str(), cc.c_str(), FALSE));
  Seen seen;
  const JobSettings out = Run(stored_, [&](HWND page) { ReadPage(page, &seen); });
  DeleteFileW(cc.c_str());
  ASSERT_TRUE(MoveFileW(kept.c_str(), cc.c_str()));
  EXPECT_EQ(seen.modeCount, 0);
  EXPECT_EQ(seen.resolutionCount, 0);
  EXPECT_FALSE(seen.previewDrawn);
  EXPECT_TRUE(seen.paperDrawn) << "the paper preview needs no colour module";
  EXPECT_TRUE(HasSignature(out));
}

// MCC4Preview as the page calls it, on the resource module's picture, and
// on a header that claims more than the memory holding it.
TEST(ColourModule, RendersTheSamplePictureAndRefusesALyingHeader) {
  HMODULE cc = LoadInstalledModule(L"VQ312CC.dll");
  HMODULE rd = LoadInstalledModule(L"VQ312RD.dll");
  ASSERT_TRUE(cc && rd);
  const auto preview = Export<PreviewFn>(cc, "MCC4Preview");
  ASSERT_NE(preview, nullptr);
  HRSRC res = FindResourceW(rd, MAKEINTRESOURCEW(397), L"BIN");
  ASSERT_NE(res, nullptr);
  const auto* src = static_cast<const uint8_t*>(LockResource(LoadResource(rd, res)));
  const DWORD size = SizeofResource(rd, res);
  std::vector<uint8_t> dest(size, 0);
  JobSettings js{};
  js.GammaIndex = 2;
  js.Halftone = 3;
  js.Monochrome = 1;
  js.MonoTone = 0;
  EXPECT_EQ(preview(src, dest.data(), &js.CyanBalance), 1);
  EXPECT_EQ(std::memcmp(dest.data(), src, 40), 0);
  const uint32_t stride = (*reinterpret_cast<const int32_t*>(src + 4) * 3 + 3) & ~3u;
  bool neutral = true;
  for (size_t p = 40; p + 3 <= size; p += 3)
    if ((p - 40) % stride + 3 <= stride - (stride % 3)) neutral &= dest[p] == dest[p + 1] && dest[p] == dest[p + 2];
  EXPECT_TRUE(neutral);

  // One committed page holding a header that claims 1000 rows.
  auto* page = static_cast<uint8_t*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  ASSERT_NE(page, nullptr);
  std::memcpy(page, src, 40);
  *reinterpret_cast<int32_t*>(page + 8) = 1000;
  *reinterpret_cast<uint32_t*>(page + 20) = 0;
  std::vector<uint8_t> big(4'000'000, 0x77);
  EXPECT_EQ(preview(page, big.data(), &js.CyanBalance), 0);
  EXPECT_EQ(big[0], 0x77);
  EXPECT_EQ(preview(src, page, &js.CyanBalance), 0) << "destination smaller than the picture";
  EXPECT_EQ(preview(nullptr, big.data(), &js.CyanBalance), 0);
  VirtualFree(page, 0, MEM_RELEASE);
  FreeLibrary(cc);
  FreeLibrary(rd);
}

// Screenshots of the page and dialog, into VQ312_SHOTS.
TEST_F(ColourPage, Screenshots) {
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"VQ312_SHOTS", folder, MAX_PATH)) GTEST_SKIP() << "VQ312_SHOTS not set";
  wchar_t lang[16] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, lang, 16);
  const std::wstring base = std::wstring(folder) + L"\\colour-" + lang + L"-";
  int saved = 0;
  auto shot = [&](HWND w, const wchar_t* name) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(400);
    saved += host::SaveWindowBitmap(w, base + name + L".bmp");
  };
  Run(stored_, [&](HWND page) {
    HWND sheet = GetParent(page);
    shot(sheet, L"page");
    Click(page, IDC_COLOUR_MONOCHROME);
    shot(sheet, L"page-grayscale");
    Click(page, IDC_COLOUR_MONOCHROME);
    InDialog(page, [&](HWND d) {
      shot(d, L"dialog");
      Type(d, IDC_ADJUST_CYAN_EDIT, L"50");
      shot(d, L"dialog-cyan");
    }, IDC_ADJUST_CANCEL_BUTTON);
  }, false);
  EXPECT_EQ(saved, 4);
}

}  // namespace
}  // namespace vq::wine
