#include "pages/colour/colour_adjust_win.h"

#include <commctrl.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "base/byte_reader.h"
#include "devinfo/difm_loader_win.h"
#include "pages/colour/colour_rules.h"
#include "pages/colour/gradient_bar_win.h"
#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "settings/services_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/shared_controls_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

constexpr uint32_t kStyleMessage = 4117;
constexpr uint16_t kStyleTexts[4] = {5353, 5354, 5355, 5356};

// The four balance rows: cyan, magenta, yellow, black.
struct BalanceRow {
  int label, edit, bar, updown;
  COLORREF colour;
};
constexpr BalanceRow kBalanceRows[4] = {
    {IDC_ADJUST_CYAN_LABEL, IDC_ADJUST_CYAN_EDIT, IDC_ADJUST_CYAN_BAR, IDC_ADJUST_CYAN_UPDOWN,
     RGB(0, 255, 255)},
    {IDC_ADJUST_MAGENTA_LABEL, IDC_ADJUST_MAGENTA_EDIT, IDC_ADJUST_MAGENTA_BAR,
     IDC_ADJUST_MAGENTA_UPDOWN, RGB(255, 0, 255)},
    {IDC_ADJUST_YELLOW_LABEL, IDC_ADJUST_YELLOW_EDIT, IDC_ADJUST_YELLOW_BAR,
     IDC_ADJUST_YELLOW_UPDOWN, RGB(255, 255, 0)},
    {IDC_ADJUST_BLACK_LABEL, IDC_ADJUST_BLACK_EDIT, IDC_ADJUST_BLACK_BAR, IDC_ADJUST_BLACK_UPDOWN,
     RGB(0, 0, 0)},
};
constexpr int kBalanceRange = colour::kAdjustMax - colour::kAdjustMin;

// The two tone rows: brightness, contrast.
struct ToneRow {
  int label, edit, updown, track;
};
constexpr ToneRow kToneRows[2] = {
    {IDC_ADJUST_BRIGHTNESS_LABEL, IDC_ADJUST_BRIGHTNESS_EDIT, IDC_ADJUST_BRIGHTNESS_UPDOWN,
     IDC_ADJUST_BRIGHTNESS_TRACK},
    {IDC_ADJUST_CONTRAST_LABEL, IDC_ADJUST_CONTRAST_EDIT, IDC_ADJUST_CONTRAST_UPDOWN,
     IDC_ADJUST_CONTRAST_TRACK},
};

struct AdjustData {
  SheetContext* sheet;
  ColourPreviewFn render;
  JobSettings preview;  // the working record with the tentative values
  colour::AdjustmentState state;
  uint32_t profile;
  bool refreshing;      // the controls are being set from the state
  HBITMAP trough[4];    // each balance bar's painted trough, made at first paint
};

AdjustData& Data(const DialogCall& call) { return call.Get<AdjustData>(); }
HWND Item(const DialogCall& call, int id) { return GetDlgItem(call.dialog, id); }

void UpdatePreview(DialogCall& call) {
  AdjustData& d = Data(call);
  if (d.refreshing) return;
  colour::CopyToPreview(d.state, &d.preview);
  HWND preview = Item(call, IDC_ADJUST_COLOUR_PREVIEW);
  InvalidateRect(preview, nullptr, FALSE);
  UpdateWindow(preview);
}

void FreeTroughs(AdjustData& d) { FreeGradientBitmaps(d.trough, std::size(d.trough)); }

void Enable(const DialogCall& call, int id, bool on) { EnableWindow(Item(call, id), on); }

void Refresh(DialogCall& call) {
  AdjustData& d = Data(call);
  d.refreshing = true;
  const JobSettings& js = d.sheet->workSettings;
  Enable(call, IDC_ADJUST_GAMMA_LIST, true);
  Enable(call, IDC_ADJUST_GAMMA_LABEL, true);
  if (colour::GammaLocked(js, d.profile)) {
    Enable(call, IDC_ADJUST_BLACK_ONLY, false);
    d.state.gamma = 2;
    Enable(call, IDC_ADJUST_GAMMA_LIST, false);
    Enable(call, IDC_ADJUST_GAMMA_LABEL, false);
  }
  // Gamma item i holds value i + 1.
  SendDlgItemMessageW(call.dialog, IDC_ADJUST_GAMMA_LIST, CB_SETCURSEL, d.state.gamma - 1, 0);
  SendDlgItemMessageW(call.dialog, IDC_ADJUST_STYLE_LIST, CB_SETCURSEL, d.state.style, 0);
  CheckDlgButton(call.dialog, IDC_ADJUST_BLACK_ONLY, d.state.optionFlag ? BST_CHECKED : BST_UNCHECKED);
  for (int i = 0; i < 4; ++i) {
    const BalanceRow& row = kBalanceRows[i];
    WriteEditInteger(Item(call, row.edit), d.state.balance[i]);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS, 0, kBalanceRange, 0,
                  d.state.balance[i] - colour::kAdjustMin, 0};
    SetScrollInfo(Item(call, row.bar), SB_CTL, &si, TRUE);
  }
  for (int i = 0; i < 2; ++i) {
    const ToneRow& row = kToneRows[i];
    WriteEditInteger(Item(call, row.edit), d.state.tone[i]);
    HWND track = Item(call, row.track);
    SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    SendMessageW(track, TBM_SETTICFREQ, 5, 0);
    SendMessageW(track, TBM_SETPOS, TRUE, d.state.tone[i] + 50);
  }
  if (colour::AdjustmentsGrayscale(js)) {
    for (int i = 0; i < 3; ++i)
      for (int id : {kBalanceRows[i].label, kBalanceRows[i].edit, kBalanceRows[i].updown,
                     kBalanceRows[i].bar})
        Enable(call, id, false);
    Enable(call, IDC_ADJUST_BLACK_ONLY, false);
    for (const ToneRow& row : kToneRows)
      for (int id : {row.label, row.edit, row.updown, row.track}) Enable(call, id, false);
  }
  d.refreshing = false;
  UpdatePreview(call);
}

void FillList(const DialogCall& call, int id, const wchar_t* const* names, int count) {
  for (int i = 0; i < count; ++i)
    SendDlgItemMessageW(call.dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
}

void OnInit(DialogCall& call) {
  AdjustData& d = Data(call);
  d.preview = d.sheet->workSettings;
  d.state = colour::LoadAdjustments(d.sheet->workSettings);
  d.profile = colour::MediaProfileNumber(d.sheet->mediaTable.get(), d.sheet->mediaTable.size(),
                                         d.sheet->workSettings.MediaTypeId);

  // Gamma names from the device module, three 64-byte entries.
  wchar_t gamma[3][32] = {};
  const DifmApi& difm = DeviceInfoApi();
  const DifmHandle h = d.sheet->hDeviceInfo.get();
  if (difm.DifmGetGammaInf && h) {
    const int32_t count = difm.DifmGetGammaInf(h, nullptr);
    if (count > 0 && count <= 16) {
      std::vector<uint8_t> buffer(size_t(count) * kDifmNameEntrySize, 0);
      difm.DifmGetGammaInf(h, buffer.data());
      const ByteReader r(buffer.data(), buffer.size());
      for (int i = 0; i < 3 && i < count; ++i) {
        const std::u16string name = r.Text16(uint64_t(i) * kDifmNameEntrySize, 31);
        std::memcpy(gamma[i], name.data(), name.size() * sizeof(char16_t));
      }
    }
  }
  const wchar_t* gammaNames[3] = {gamma[0], gamma[1], gamma[2]};
  FillList(call, IDC_ADJUST_GAMMA_LIST, gammaNames, 3);
  wchar_t styles[4][64] = {};
  const wchar_t* styleNames[4];
  for (int i = 0; i < 4; ++i) {
    LoadTextById(kStyleTexts[i], styles[i], sizeof styles[i]);
    styleNames[i] = styles[i];
  }
  FillList(call, IDC_ADJUST_STYLE_LIST, styleNames, 4);

  for (const BalanceRow& row : kBalanceRows) {
    SubclassSignedNumberEdit(Item(call, row.edit), 3);
    SendDlgItemMessageW(call.dialog, row.updown, UDM_SETRANGE32, colour::kAdjustMin, colour::kAdjustMax);
  }
  for (const ToneRow& row : kToneRows) {
    SubclassSignedNumberEdit(Item(call, row.edit), 3);
    SendDlgItemMessageW(call.dialog, row.updown, UDM_SETRANGE32, colour::kAdjustMin, colour::kAdjustMax);
  }
  Refresh(call);
}

// Which value an edit holds: 0..3 balance, 4..5 tone; -1 for another control.
int ValueOfEdit(UINT id) {
  for (int i = 0; i < 4; ++i)
    if (kBalanceRows[i].edit == int(id)) return i;
  for (int i = 0; i < 2; ++i)
    if (kToneRows[i].edit == int(id)) return 4 + i;
  return -1;
}

void OnEditUpdate(DialogCall& call, UINT id, int which) {
  AdjustData& d = Data(call);
  HWND edit = Item(call, id);
  wchar_t text[8] = {};
  GetWindowTextW(edit, text, 8);
  const colour::EditReading reading =
      colour::ReadAdjustmentText(std::u16string_view(reinterpret_cast<const char16_t*>(text)));
  if (reading.rewrite) {
    // The rewrite comes back here as another EN_UPDATE, which stores it.
    SetWindowTextW(edit, reinterpret_cast<const wchar_t*>(reading.text));
    return;
  }
  if (which < 4) {
    d.state.balance[which] = reading.value;
    SetScrollPos(Item(call, kBalanceRows[which].bar), SB_CTL, reading.value - colour::kAdjustMin, TRUE);
  } else {
    d.state.tone[which - 4] = reading.value;
    SendDlgItemMessageW(call.dialog, kToneRows[which - 4].track, TBM_SETPOS, TRUE, reading.value + 50);
  }
  UpdatePreview(call);
}

void EndWith(DialogCall& call, bool keep) {
  AdjustData& d = Data(call);
  if (keep) colour::StoreAdjustments(d.state, &d.sheet->workSettings);
  FreeTroughs(d);
  call.End(0);
}

bool OnCommand(DialogCall& call, UINT id, UINT code) {
  AdjustData& d = Data(call);
  if (const int which = ValueOfEdit(id); which >= 0) {
    if (code == EN_UPDATE) OnEditUpdate(call, id, which);
    return true;
  }
  switch (id) {
    case IDC_ADJUST_STYLE_LIST: {
      if (code != CBN_SELCHANGE) return true;
      const LRESULT item = SendDlgItemMessageW(call.dialog, id, CB_GETCURSEL, 0, 0);
      if (item < 0 || item > 3) return true;
      if (uint32_t(item) != d.state.style && item != 0 && (d.sheet->workSettings.ColorFlags & 1))
        ShowMessageById(call.dialog, kStyleMessage);
      d.state.style = uint32_t(item);
      UpdatePreview(call);
      return true;
    }
    case IDC_ADJUST_GAMMA_LIST: {
      if (code != CBN_SELCHANGE) return true;
      const LRESULT item = SendDlgItemMessageW(call.dialog, id, CB_GETCURSEL, 0, 0);
      if (item >= 0 && item < 3) d.state.gamma = uint32_t(item) + 1;
      UpdatePreview(call);
      return true;
    }
    case IDC_ADJUST_BLACK_ONLY:
      d.state.optionFlag = IsDlgButtonChecked(call.dialog, id) == BST_CHECKED;
      return true;
    case IDC_ADJUST_DEFAULTS: {
      JobSettings defaults{};
      SetDefaultJobSettings(&defaults, Services());
      d.state = colour::DefaultAdjustments(defaults);
      Refresh(call);
      SetFocus(Item(call, IDC_ADJUST_DEFAULTS));
      return true;
    }
    case IDC_ADJUST_OK_BUTTON:
    case IDOK:
      EndWith(call, true);
      return true;
    case IDC_ADJUST_CANCEL_BUTTON:
    case IDCANCEL:
      EndWith(call, false);
      return true;
    case IDC_ADJUST_HELP_BUTTON:
      ShowHelpTopic(call.dialog, d.sheet->dataPrinter(), help::kColourDetailDialog);
      return true;
    default:
      return false;
  }
}

bool OnDrawItem(DialogCall& call, const DRAWITEMSTRUCT& dis) {
  if (dis.CtlID != IDC_ADJUST_COLOUR_PREVIEW) return false;
  AdjustData& d = Data(call);
  if (!DrawColourPreview(dis.hDC, dis.rcItem, d.preview, d.sheet->hIconModule.get(), d.render))
    FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  return true;
}

// WM_HSCROLL: the tone track bars and the balance scroll bars.
bool OnScroll(DialogCall& call, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_HSCROLL || !lParam) return false;
  AdjustData& d = Data(call);
  const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  for (const ToneRow& row : kToneRows)
    if (row.track == id) {
      const int value = int(SendMessageW(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0)) - 50;
      if (value != d.state.tone[&row - kToneRows]) WriteEditInteger(Item(call, row.edit), value);
      return true;
    }
  for (int i = 0; i < 4; ++i) {
    if (kBalanceRows[i].bar != id) continue;
    HWND bar = reinterpret_cast<HWND>(lParam);
    const int target = colour::ScrollTarget(LOWORD(wParam), GetScrollPos(bar, SB_CTL), kBalanceRange,
                                            static_cast<int16_t>(HIWORD(wParam)));
    const int value = colour::kAdjustMin + target;
    // The edit's update stores the value and moves the bar.
    if (value != d.state.balance[i]) WriteEditInteger(Item(call, kBalanceRows[i].edit), value);
    return true;
  }
  return false;
}

HBRUSH OnCtlColor(DialogCall& call, UINT message, HDC dc, HWND control) {
  if (message != WM_CTLCOLORSCROLLBAR) return nullptr;
  AdjustData& d = Data(call);
  const int id = GetDlgCtrlID(control);
  for (int i = 0; i < 4; ++i)
    if (kBalanceRows[i].bar == id) return PaintGradientBar(control, dc, kBalanceRows[i].colour, &d.trough[i]);
  return nullptr;
}

void OnDestroy(DialogCall& call) { FreeTroughs(Data(call)); }

const DialogRow kAdjustDialog = {
    IDD_ADJUST,
    &pages::kLayoutAdjust,
    pages::kTextsAdjust,
    pages::kHelpAdjust,
    4746,
    help::kColourDetailDialog,
    DialogHandlers{OnInit, OnCommand, nullptr, OnDrawItem, nullptr, OnScroll, OnDestroy, OnCtlColor},
};

}  // namespace

INT_PTR ShowColourAdjustDialog(HWND owner, SheetContext& sheet, ColourPreviewFn render) {
  AdjustData data{};
  data.sheet = &sheet;
  data.render = render;
  RunModalDialog(owner, kAdjustDialog, &data);
  FreeTroughs(data);
  return 0;
}

}  // namespace vq
