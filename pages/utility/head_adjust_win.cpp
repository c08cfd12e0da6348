#include "pages/utility/head_adjust_win.h"

#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "monitor/status_monitor_win.h"
#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "pages/utility/maintenance_rules.h"
#include "pages/utility/settings_dialogs_win.h"
#include "settings/printer_store_win.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/sheet_context_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

using Range = HeadAdjustmentState::Range;

// ---- What both dialogs share --------------------------------------------------

// The label widths the pattern is printed for, narrow to wide (paper types
// 6, 5 and 4): the picture of the width in use, the greyed pictures of the
// others, a mark beside the one in use, and the caption under each.
struct PaperPictures {
  int active[3], grey[3], mark[3], label[3];
  uint16_t millimetres[3], inches[3];
};
constexpr PaperPictures kHeadPictures = {
    {IDC_HEAD_ADJUST_NARROW_PICTURE, IDC_HEAD_ADJUST_MEDIUM_PICTURE, IDC_HEAD_ADJUST_WIDE_PICTURE},
    {IDC_HEAD_ADJUST_NARROW_GREY, IDC_HEAD_ADJUST_MEDIUM_GREY, IDC_HEAD_ADJUST_WIDE_GREY},
    {IDC_HEAD_ADJUST_NARROW_MARK, IDC_HEAD_ADJUST_MEDIUM_MARK, IDC_HEAD_ADJUST_WIDE_MARK},
    {IDC_HEAD_ADJUST_NARROW_LABEL, IDC_HEAD_ADJUST_MEDIUM_LABEL, IDC_HEAD_ADJUST_WIDE_LABEL},
    {4558, 4559, 4560},
    {4561, 4562, 4563}};
constexpr PaperPictures kDetailPictures = {
    {IDC_HEAD_DETAIL_NARROW_PICTURE, IDC_HEAD_DETAIL_MEDIUM_PICTURE, IDC_HEAD_DETAIL_WIDE_PICTURE},
    {IDC_HEAD_DETAIL_NARROW_GREY, IDC_HEAD_DETAIL_MEDIUM_GREY, IDC_HEAD_DETAIL_WIDE_GREY},
    {IDC_HEAD_DETAIL_NARROW_MARK, IDC_HEAD_DETAIL_MEDIUM_MARK, IDC_HEAD_DETAIL_WIDE_MARK},
    {IDC_HEAD_DETAIL_NARROW_LABEL, IDC_HEAD_DETAIL_MEDIUM_LABEL, IDC_HEAD_DETAIL_WIDE_LABEL},
    {4582, 4583, 4584},
    {4585, 4586, 4587}};

struct HeadData {
  SheetContext* sheet;
  const MaintenanceTarget* t;
  PaperInfo paper;
  bool filePort;
  bool extended;
  int sizeClass;      // template 5110
  int32_t limit;      // template 5111: the detail limit D
  bool wideDetail;    // template 5111: D is 8 outside the extended range
  int stage;
  int currentEdit;    // template 5111
  bool writing;       // the dialog itself is rewriting an edit
};

HeadAdjustmentState& State(const DialogCall& call) {
  return call.Get<HeadData>().sheet->headAdjustment;
}

void Enable(HWND dialog, int id, bool on) { EnableWindow(GetDlgItem(dialog, id), on); }
void Show(HWND dialog, int id, bool on) { ShowWindow(GetDlgItem(dialog, id), on ? SW_SHOW : SW_HIDE); }

std::u16string ItemText(HWND dialog, int id) {
  wchar_t text[32] = {};
  GetDlgItemTextW(dialog, id, text, 32);
  return reinterpret_cast<const char16_t*>(text);
}

int32_t EditValue(HWND dialog, int edit) { return maint::ClampTypedValue(ItemText(dialog, edit), -127, 127); }

void Redraw(HWND dialog, int id) { InvalidateRect(GetDlgItem(dialog, id), nullptr, FALSE); }

// The paper type the pattern is printed for, shown by the pictures and
// stored for the printer.
void ShowPaperType(HWND dialog, HeadData& d, const PaperPictures& p) {
  const JobSettings& js = d.sheet->workSettings;
  const int type = maint::RegistrationPaperType(
      static_cast<uint8_t>(d.paper.paperLayout & 0xFF), js.dmPaperLength,
      static_cast<int32_t>(d.paper.paperWidth), static_cast<int32_t>(d.paper.linerLeft),
      static_cast<int32_t>(d.paper.linerRight));
  const int chosen = 6 - type;  // 6 narrow, 5 medium, 4 wide
  for (int i = 0; i < 3; ++i) {
    Show(dialog, p.active[i], i == chosen);
    Enable(dialog, p.active[i], i == chosen);
    Show(dialog, p.grey[i], i != chosen);
    Show(dialog, p.mark[i], i == chosen);
    Enable(dialog, p.mark[i], i == chosen);
    Enable(dialog, p.label[i], i == chosen);
    wchar_t text[128] = {};
    LoadTextById(js.MeasureUnit ? p.inches[i] : p.millimetres[i], text, sizeof text);
    SetDlgItemTextW(dialog, p.label[i], text);
  }
  const uint8_t stored = static_cast<uint8_t>(type);
  WritePrinterDataBytes(d.t->printer, L"APUI_REGPAPERTYPE", &stored, 1);
}

// Item 19 into the held values; zeros when the printer cannot say.
void ReadHeldValues(HeadData& d) {
  uint8_t bytes[12] = {};
  const bool read = ReadPrinterSetting(*d.t, kItemRegistration, bytes, sizeof bytes);
  for (size_t i = 0; i < 12; ++i)
    d.sheet->headAdjustment.registration[i] = read ? static_cast<int8_t>(bytes[i]) : 0;
}

// The values through the maintenance module. On a "FILE:" port nothing can
// be read and the held values stay; otherwise a failure is told and false.
bool ReadValuesForUse(HWND dialog, HeadData& d) {
  maint::Registration values = d.sheet->headAdjustment.registration;
  const int read = ReadRegistrationValues(*d.t, &values);
  if (read > 0) d.sheet->headAdjustment.registration = values;
  if (d.filePort || read > 0) return true;
  ShowMessageById(dialog, read < 0 ? 4079 : 4081);
  return false;
}

// Prints an adjustment pattern: command 21, then `pattern`. True once the
// user confirmed that it came out, with the values read again and the
// paper type the printer used stored.
bool PrintPattern(HWND dialog, HeadData& d, uint32_t pattern) {
  if (!ConfirmAndWait(dialog, *d.t, 4012)) return false;
  if (!ReadValuesForUse(dialog, d)) return false;
  bool sent = false;
  {
    CommandChannel channel(*d.t);
    sent = channel.Send(21) && channel.Send(pattern);
    sent = channel.Close() && sent;
  }
  if (!sent || (HasServerName(d.t->printer) && !StartStatusMonitor(d.t->printer))) {
    ShowMessageById(dialog, 4078);
    return false;
  }
  if (ShowMessageById(dialog, 4019) != IDYES) return false;
  maint::Registration values = d.sheet->headAdjustment.registration;
  if (ReadRegistrationValues(*d.t, &values) > 0) d.sheet->headAdjustment.registration = values;
  d.sheet->headAdjustment.patternPrinted = true;
  return true;
}

// After a confirmed print: the paper type the printer printed on.
void StorePrintedPaperType(const HeadData& d) {
  uint8_t type = 0;
  if (ReadPrinterSetting(*d.t, kItemPaperType, &type, 1))
    WritePrinterDataBytes(d.t->printer, L"APUI_REGPAPERTYPE", &type, 1);
}

// What became of the values a send stored and sent.
enum class Sent {
  kSent,
  kNotStored,       // the dialog stays
  kStoredNotSent,   // the dialog ends
};

// Stores `values` for the printer and sends them. The held values change
// only once they are stored.
Sent StoreAndSend(HWND dialog, HeadData& d, const maint::Registration& values) {
  if (!WritePrinterDataBytes(d.t->printer, L"APUI_REGPOSITION", values.data(), 12)) {
    ShowMessageById(dialog, 4078);
    return Sent::kNotStored;
  }
  d.sheet->headAdjustment.registration = values;
  if (!SendCommand(*d.t, 19)) {
    ShowMessageById(dialog, 4078);
    return Sent::kStoredNotSent;
  }
  ShowMessageById(dialog, 4018);
  d.sheet->headAdjustment.patternPrinted = false;
  return Sent::kSent;
}

// The slider: range 0..2 centre, `centre` meaning 0, no selection.
void ResetSlider(HWND dialog, int slider, int32_t centre, bool enable) {
  HWND s = GetDlgItem(dialog, slider);
  SendMessageW(s, TBM_SETRANGE, FALSE, MAKELPARAM(0, 2 * centre));
  SendMessageW(s, TBM_SETTICFREQ, 1, 0);
  SendMessageW(s, TBM_SETPOS, TRUE, centre);
  SendMessageW(s, TBM_CLEARSEL, TRUE, 0);
  EnableWindow(s, enable);
}

void SetSliderSelection(HWND dialog, int slider, int32_t centre, const Range& range) {
  HWND s = GetDlgItem(dialog, slider);
  EnableWindow(s, TRUE);
  SendMessageW(s, TBM_SETSEL, TRUE,
               MAKELPARAM(maint::SliderPosition(centre, range.hi), maint::SliderPosition(centre, range.lo)));
}

// Rewrites an edit the user changed: no leading zeros, within its range.
// The value it now holds, or nothing while the user is still typing.
bool NormaliseEdit(HWND dialog, HeadData& d, int edit, const Range& range, int32_t* value) {
  const std::u16string typed = ItemText(dialog, edit);
  const int32_t lo = range.radio ? range.lo : -127, hi = range.radio ? range.hi : 127;
  const std::u16string shown = maint::CorrectionEditText(typed, lo, hi);
  if (shown.empty()) return false;
  if (shown != typed) {
    d.writing = true;
    SetDlgItemTextW(dialog, edit, reinterpret_cast<const wchar_t*>(shown.c_str()));
    SendDlgItemMessageW(dialog, edit, EM_SETSEL, shown.size(), shown.size());
    d.writing = false;
  }
  *value = maint::ClampTypedValue(shown, lo, hi);
  return true;
}

// The preview: the bitmap `id` with the rectangles `marks` drawn over it
// (edges only as `edges` says: 1 top, 2 bottom, 4 left, 8 right), scaled to
// the screen and centred in the control.
void DrawPattern(const DRAWITEMSTRUCT& dis, int id, const RECT* marks, size_t count, unsigned edges,
                 COLORREF colour) {
  FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const SheetContext* sheet = CurrentSheet();
  HMODULE icons = sheet ? sheet->hIconModule.get() : nullptr;
  HBITMAP bitmap = icons ? LoadBitmapW(icons, MAKEINTRESOURCEW(id)) : nullptr;
  if (!bitmap) return;
  BITMAP bm{};
  GetObjectW(bitmap, sizeof bm, &bm);
  HDC mem = CreateCompatibleDC(dis.hDC);
  HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldPen = SelectObject(mem, pen);
  auto line = [&](int x0, int y0, int x1, int y1) {
    MoveToEx(mem, x0, y0, nullptr);
    LineTo(mem, x1 + (x0 == x1 ? 0 : 1), y1 + (y0 == y1 ? 0 : 1));
  };
  for (size_t i = 0; i < count; ++i) {
    const RECT& r = marks[i];
    if (edges & 1) line(r.left, r.top, r.right, r.top);
    if (edges & 2) line(r.left, r.bottom, r.right, r.bottom);
    if (edges & 4) line(r.left, r.top, r.left, r.bottom);
    if (edges & 8) line(r.right, r.top, r.right, r.bottom);
  }
  SelectObject(mem, oldPen);
  DeleteObject(pen);
  const int w = MulDiv(bm.bmWidth, static_cast<int>(screenDpiX), 96);
  const int h = MulDiv(bm.bmHeight, static_cast<int>(screenDpiY), 96);
  const RECT& rc = dis.rcItem;
  const int x = rc.left + (rc.right - rc.left - w) / 2, y = rc.top + (rc.bottom - rc.top - h) / 2;
  SetStretchBltMode(dis.hDC, HALFTONE);
  StretchBlt(dis.hDC, x, y, w, h, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(mem, oldBitmap);
  DeleteDC(mem);
  DeleteObject(bitmap);
}

bool FindPaper(const SheetContext& sheet, HANDLE printerOwn, PaperInfo* paper) {
  Win32PrinterStore own(printerOwn ? printerOwn : sheet.dataPrinter(), false);
  return FindPaperInfo(&own, static_cast<uint16_t>(sheet.workSettings.dmPaperSize), paper);
}

// An up-down back at 0, its range open until its step gives it one.
void ClearUpdown(HWND dialog, int updown) {
  SendDlgItemMessageW(dialog, updown, UDM_SETRANGE32, -127, 127);
  SendDlgItemMessageW(dialog, updown, UDM_SETPOS32, 0, 0);
}

bool Confirmed(HWND dialog, uint32_t message) { return ShowMessageById(dialog, message) == IDYES; }

// ---- Head position adjustment (template 5110) ----------------------------------

constexpr int32_t kCentre = 32, kExtendedCentre = 127;

struct Row {
  maint::Correction c;
  int group;  // 1..3: the step (2..4) that reads it
  int radio, edit, updown;
};
constexpr Row kRows[maint::kCorrections] = {
    {maint::kC6038, 1, IDC_HEAD_ADJUST_PATTERN_A, IDC_HEAD_ADJUST_PATTERN_A_EDIT, IDC_HEAD_ADJUST_PATTERN_A_UPDOWN},
    {maint::kC6042, 1, IDC_HEAD_ADJUST_PATTERN_B, IDC_HEAD_ADJUST_PATTERN_B_EDIT, IDC_HEAD_ADJUST_PATTERN_B_UPDOWN},
    {maint::kC6041, 2, IDC_HEAD_ADJUST_PATTERN_C, IDC_HEAD_ADJUST_PATTERN_C_EDIT, IDC_HEAD_ADJUST_PATTERN_C_UPDOWN},
    {maint::kC6061, 2, IDC_HEAD_ADJUST_PATTERN_D, IDC_HEAD_ADJUST_PATTERN_D_EDIT, IDC_HEAD_ADJUST_PATTERN_D_UPDOWN},
    {maint::kC6049, 3, IDC_HEAD_ADJUST_PATTERN_E, IDC_HEAD_ADJUST_PATTERN_E_EDIT, IDC_HEAD_ADJUST_PATTERN_E_UPDOWN},
    {maint::kC6054, 3, IDC_HEAD_ADJUST_PATTERN_F, IDC_HEAD_ADJUST_PATTERN_F_EDIT, IDC_HEAD_ADJUST_PATTERN_F_UPDOWN},
    {maint::kC6063, 3, IDC_HEAD_ADJUST_PATTERN_G, IDC_HEAD_ADJUST_PATTERN_G_EDIT, IDC_HEAD_ADJUST_PATTERN_G_UPDOWN},
    {maint::kC6065, 3, IDC_HEAD_ADJUST_PATTERN_H, IDC_HEAD_ADJUST_PATTERN_H_EDIT, IDC_HEAD_ADJUST_PATTERN_H_UPDOWN},
};

const std::initializer_list<int> kStageControls[4] = {
    {IDC_HEAD_ADJUST_STEP1_TEXT, IDC_HEAD_ADJUST_PRINT},
    {IDC_HEAD_ADJUST_STEP2_TEXT, IDC_HEAD_ADJUST_STEP2_VERTICAL, IDC_HEAD_ADJUST_STEP2_HORIZONTAL,
     IDC_HEAD_ADJUST_STEP2_GROUP, IDC_HEAD_ADJUST_PATTERN_A, IDC_HEAD_ADJUST_PATTERN_A_EDIT,
     IDC_HEAD_ADJUST_PATTERN_A_UPDOWN, IDC_HEAD_ADJUST_PATTERN_B, IDC_HEAD_ADJUST_PATTERN_B_EDIT,
     IDC_HEAD_ADJUST_PATTERN_B_UPDOWN, IDC_HEAD_ADJUST_STEP2_BACK, IDC_HEAD_ADJUST_STEP2_NEXT},
    {IDC_HEAD_ADJUST_STEP3_TEXT, IDC_HEAD_ADJUST_STEP3_VERTICAL, IDC_HEAD_ADJUST_STEP3_HORIZONTAL,
     IDC_HEAD_ADJUST_STEP3_GROUP, IDC_HEAD_ADJUST_PATTERN_C, IDC_HEAD_ADJUST_PATTERN_C_EDIT,
     IDC_HEAD_ADJUST_PATTERN_C_UPDOWN, IDC_HEAD_ADJUST_PATTERN_D, IDC_HEAD_ADJUST_PATTERN_D_EDIT,
     IDC_HEAD_ADJUST_PATTERN_D_UPDOWN, IDC_HEAD_ADJUST_STEP3_BACK, IDC_HEAD_ADJUST_STEP3_NEXT},
    {IDC_HEAD_ADJUST_STEP4_TEXT, IDC_HEAD_ADJUST_STEP4_VERTICAL, IDC_HEAD_ADJUST_STEP4_HORIZONTAL,
     IDC_HEAD_ADJUST_STEP4_LEFT_GROUP, IDC_HEAD_ADJUST_STEP4_RIGHT_GROUP, IDC_HEAD_ADJUST_PATTERN_E,
     IDC_HEAD_ADJUST_PATTERN_F, IDC_HEAD_ADJUST_PATTERN_E_EDIT, IDC_HEAD_ADJUST_PATTERN_E_UPDOWN,
     IDC_HEAD_ADJUST_PATTERN_F_EDIT, IDC_HEAD_ADJUST_PATTERN_F_UPDOWN, IDC_HEAD_ADJUST_PATTERN_G,
     IDC_HEAD_ADJUST_PATTERN_H, IDC_HEAD_ADJUST_PATTERN_G_EDIT, IDC_HEAD_ADJUST_PATTERN_G_UPDOWN,
     IDC_HEAD_ADJUST_PATTERN_H_EDIT, IDC_HEAD_ADJUST_PATTERN_H_UPDOWN, IDC_HEAD_ADJUST_STEP4_THEN,
     IDC_HEAD_ADJUST_STEP4_BACK, IDC_HEAD_ADJUST_SEND},
};

// Where each radio's marks fall on the pattern's picture, wide labels
// first, narrow ones second; edges as DrawPattern takes them.
struct Marks {
  int radio;
  RECT wide[2], narrow[2];
  size_t count;
  unsigned edges;
};
constexpr Marks kMarks[] = {
    {IDC_HEAD_ADJUST_PATTERN_A, {{8, 6, 255, 129}, {8, 139, 255, 263}}, {{4, 6, 138, 129}, {4, 139, 138, 263}}, 2, 1 | 2},
    {IDC_HEAD_ADJUST_PATTERN_B, {{8, 6, 255, 129}, {8, 139, 255, 263}}, {{4, 6, 138, 129}, {4, 139, 138, 263}}, 2, 4 | 8},
    {IDC_HEAD_ADJUST_PATTERN_C, {{32, 16, 65, 124}}, {{21, 19, 45, 124}}, 1, 15},
    {IDC_HEAD_ADJUST_PATTERN_E, {{115, 16, 148, 124}}, {{54, 19, 73, 124}}, 1, 15},
    {IDC_HEAD_ADJUST_PATTERN_F, {{198, 16, 231, 124}}, {{85, 19, 105, 124}}, 1, 15},
    {IDC_HEAD_ADJUST_PATTERN_D, {{36, 150, 231, 176}}, {{15, 149, 127, 170}}, 1, 15},
    {IDC_HEAD_ADJUST_PATTERN_G, {{36, 186, 231, 212}}, {{15, 188, 127, 212}}, 1, 15},
    {IDC_HEAD_ADJUST_PATTERN_H, {{36, 225, 231, 251}}, {{15, 226, 127, 251}}, 1, 15},
};

int RowOfRadio(int radio) {
  for (int i = 0; i < maint::kCorrections; ++i)
    if (kRows[i].radio == radio) return i;
  return -1;
}
int RowOfEdit(int edit) {
  for (int i = 0; i < maint::kCorrections; ++i)
    if (kRows[i].edit == edit) return i;
  return -1;
}
int RowOfUpdown(HWND dialog, HWND control) {
  for (int i = 0; i < maint::kCorrections; ++i)
    if (GetDlgItem(dialog, kRows[i].updown) == control) return i;
  return -1;
}

int32_t Centre(const HeadData& d) { return d.extended ? kExtendedCentre : kCentre; }

maint::Corrections ReadCorrections(HWND dialog) {
  maint::Corrections e{};
  for (const Row& row : kRows) e[row.c] = EditValue(dialog, row.edit);
  return e;
}

// The edits' text limit and the slider's scale follow the range in force.
void ApplyRangeMode(HWND dialog, HeadData& d) {
  for (const Row& row : kRows)
    SendDlgItemMessageW(dialog, row.edit, EM_LIMITTEXT, d.extended ? 4 : d.sizeClass == 1 ? 3 : 2, 0);
  ResetSlider(dialog, IDC_HEAD_ADJUST_SLIDER, Centre(d), false);
}

void SelectRadio(DialogCall& call, int rowIndex) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  const Row& chosen = kRows[rowIndex];
  for (const Row& row : kRows) {
    if (row.group != chosen.group) continue;
    const bool on = &row == &chosen;
    SendDlgItemMessageW(dialog, row.edit, EM_SETREADONLY, !on, 0);
    Enable(dialog, row.edit, on);
    Enable(dialog, row.updown, on);
    CheckDlgButton(dialog, row.radio, on ? BST_CHECKED : BST_UNCHECKED);
  }
  st.currentRadio = static_cast<uint16_t>(chosen.radio);
  HWND edit = GetDlgItem(dialog, chosen.edit);
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SetSliderSelection(dialog, IDC_HEAD_ADJUST_SLIDER, Centre(d), st.ranges[rowIndex]);
  if (!d.extended)
    SendDlgItemMessageW(dialog, IDC_HEAD_ADJUST_SLIDER, TBM_SETPOS, TRUE,
                        maint::SliderPosition(kCentre, EditValue(dialog, chosen.edit)));
  Redraw(dialog, IDC_HEAD_ADJUST_PREVIEW);
}

void BeginStage(DialogCall& call, int stage) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  d.stage = stage;
  for (const Row& row : kRows)
    SendDlgItemMessageW(dialog, row.edit, EM_LIMITTEXT, d.extended ? 4 : d.sizeClass == 1 ? 3 : 2, 0);
  for (int s = 0; s < 4; ++s)
    for (int id : kStageControls[s]) Enable(dialog, id, s + 1 == stage);
  const maint::Corrections e = ReadCorrections(dialog);
  int first = -1;
  for (int i = 0; i < maint::kCorrections; ++i) {
    const Row& row = kRows[i];
    if (row.group != stage - 1) continue;
    if (first < 0) first = i;
    const maint::CorrectionRange r = maint::StageRange(row.c, st.registration, e, d.extended, d.sizeClass);
    st.ranges[i] = {static_cast<uint16_t>(row.radio), r.hi, r.lo, r.position};
    SendDlgItemMessageW(dialog, row.updown, UDM_SETRANGE32, r.lo, r.hi);
    SendDlgItemMessageW(dialog, row.updown, UDM_SETPOS32, 0, r.position);
  }
  if (stage == 1) {
    SetFocus(GetDlgItem(dialog, IDC_HEAD_ADJUST_PRINT));
  } else if (first >= 0) {
    SelectRadio(call, first);
  }
  Redraw(dialog, IDC_HEAD_ADJUST_PREVIEW);
}

void BackToStart(DialogCall& call) {
  State(call).patternPrinted = false;
  ResetSlider(call.dialog, IDC_HEAD_ADJUST_SLIDER, Centre(call.Get<HeadData>()), false);
  BeginStage(call, 1);
}

void HeadInit(DialogCall& call) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  d.extended = maint::IsExtendedRange(st.registration);
  ReadHeldValues(d);
  ShowPaperType(dialog, d, kHeadPictures);
  d.sizeClass = maint::RegistrationSizeClass(
      static_cast<int32_t>(d.paper.paperWidth), static_cast<int32_t>(d.paper.marginLeft),
      static_cast<int32_t>(d.paper.marginRight), static_cast<int32_t>(d.paper.paperLength));
  for (int radio : {IDC_HEAD_ADJUST_PATTERN_A, IDC_HEAD_ADJUST_PATTERN_C, IDC_HEAD_ADJUST_PATTERN_E})
    CheckDlgButton(dialog, radio, BST_CHECKED);
  Enable(dialog, IDC_HEAD_ADJUST_DETAIL, false);
  Enable(dialog, IDC_HEAD_ADJUST_DETAIL_TEXT, false);
  for (const Row& row : kRows) {
    SubclassSignedNumberEdit(GetDlgItem(dialog, row.edit), d.extended ? 4 : 5);
    SetDlgItemInt(dialog, row.edit, 0, TRUE);
  }
  st.currentRadio = IDC_HEAD_ADJUST_PATTERN_A;
  st.patternPrinted = false;
  BeginStage(call, 1);
  ResetSlider(dialog, IDC_HEAD_ADJUST_SLIDER, Centre(d), false);
}

void HeadPrint(DialogCall& call) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  if (!PrintPattern(dialog, d, 14)) return;
  d.extended = maint::IsExtendedRange(st.registration);
  ApplyRangeMode(dialog, d);
  for (int i = 0; i < maint::kCorrections; ++i) {
    st.ranges[i] = {};
    ClearUpdown(dialog, kRows[i].updown);
  }
  BeginStage(call, 2);
  StorePrintedPaperType(d);
}

void HeadSend(DialogCall& call) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  if (!ConfirmAndWait(dialog, *d.t, 4013) || !ReadValuesForUse(dialog, d)) return;
  const maint::Registration values =
      maint::AddCorrections(State(call).registration, ReadCorrections(dialog), d.extended);
  const Sent sent = StoreAndSend(dialog, d, values);
  if (sent == Sent::kStoredNotSent) call.End(0);
  if (sent != Sent::kSent) return;
  BackToStart(call);
  SetFocus(GetDlgItem(dialog, IDC_HEAD_ADJUST_CLOSE));
  if (d.sheet->workSettings.dmPaperLength >= 1270) {
    Enable(dialog, IDC_HEAD_ADJUST_DETAIL, true);
    Enable(dialog, IDC_HEAD_ADJUST_DETAIL_TEXT, true);
  }
}

void HeadEdit(DialogCall& call, int edit, UINT code) {
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  const int i = RowOfEdit(edit);
  if (code == EN_KILLFOCUS) {
    SendDlgItemMessageW(call.dialog, edit, EM_LIMITTEXT, d.extended ? 4 : d.sizeClass == 1 ? 3 : 2, 0);
    return;
  }
  if (code != EN_CHANGE || d.writing || !st.patternPrinted || i < 0) return;
  int32_t value = 0;
  if (!NormaliseEdit(call.dialog, d, edit, st.ranges[i], &value)) return;
  st.ranges[i].value = value;
  if (!d.extended && kRows[i].radio == st.currentRadio)
    SendDlgItemMessageW(call.dialog, IDC_HEAD_ADJUST_SLIDER, TBM_SETPOS, TRUE,
                        maint::SliderPosition(kCentre, value));
}

bool HeadCommand(DialogCall& call, UINT id, UINT code) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  if (RowOfEdit(static_cast<int>(id)) >= 0) {
    HeadEdit(call, static_cast<int>(id), code);
    return true;
  }
  if (code != BN_CLICKED) return false;
  if (const int row = RowOfRadio(static_cast<int>(id)); row >= 0) {
    SelectRadio(call, row);
    return true;
  }
  switch (id) {
    case IDC_HEAD_ADJUST_PRINT:
      HeadPrint(call);
      return true;
    case IDC_HEAD_ADJUST_SEND:
      HeadSend(call);
      return true;
    case IDC_HEAD_ADJUST_STEP2_BACK:
      BackToStart(call);
      return true;
    case IDC_HEAD_ADJUST_STEP2_NEXT:
    case IDC_HEAD_ADJUST_STEP4_BACK:
      BeginStage(call, 3);
      return true;
    case IDC_HEAD_ADJUST_STEP3_BACK:
      BeginStage(call, 2);
      return true;
    case IDC_HEAD_ADJUST_STEP3_NEXT:
      BeginStage(call, 4);
      return true;
    case IDC_HEAD_ADJUST_CLOSE:
    case IDCANCEL:
      if (Confirmed(dialog, 4014)) call.End(0);
      return true;
    case IDC_HEAD_ADJUST_DETAIL: {
      HWND owner = GetWindow(dialog, GW_OWNER);
      ShowWindow(dialog, SW_HIDE);
      ShowDetailedHeadAdjustmentDialog(owner, *d.sheet, *d.t);
      call.End(0);
      return true;
    }
    case IDC_HEAD_ADJUST_HELP:
      ShowHelpTopic(dialog, d.t->printer, help::kHeadAdjustDialog);
      return true;
    case IDC_HEAD_ADJUST_HOW_TO_READ:
      ShowHelpTopic(dialog, d.t->printer, help::kHeadAdjustPattern);
      return true;
    default:
      return false;
  }
}

// The slider and the up-downs: both scroll vertically.
bool HeadOther(DialogCall& call, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_VSCROLL) return false;
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  HWND from = reinterpret_cast<HWND>(lParam);
  HWND slider = GetDlgItem(dialog, IDC_HEAD_ADJUST_SLIDER);
  if (from == slider) {
    const int i = RowOfRadio(st.currentRadio);
    if (d.extended || i < 0) return true;
    const Range& range = st.ranges[i];
    const int32_t position = static_cast<int32_t>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    const int32_t value = maint::SliderCorrection(kCentre, position, {range.lo, range.hi, 0});
    if (maint::SliderPosition(kCentre, value) != position)
      SendMessageW(slider, TBM_SETPOS, TRUE, maint::SliderPosition(kCentre, value));
    st.ranges[i].value = value;
    SendDlgItemMessageW(dialog, kRows[i].updown, UDM_SETPOS32, 0, value);
    return true;
  }
  if (const int i = RowOfUpdown(dialog, from); i >= 0) {
    const int32_t value = static_cast<int32_t>(SendMessageW(from, UDM_GETPOS32, 0, 0));
    SendMessageW(slider, TBM_SETPOS, TRUE, maint::SliderPosition(Centre(d), value));
    if (st.ranges[i].radio) st.ranges[i].value = value;
    return true;
  }
  return false;
}

bool HeadDraw(DialogCall& call, const DRAWITEMSTRUCT& dis) {
  if (dis.CtlID != IDC_HEAD_ADJUST_PREVIEW) return false;
  const HeadData& d = call.Get<HeadData>();
  const HeadAdjustmentState& st = State(call);
  const bool wide = d.sizeClass == 1;
  const int bitmap = st.patternPrinted ? (wide ? 426 : 427) : (wide ? 429 : 430);
  const Marks* marks = nullptr;
  if (!IsWindowEnabled(GetDlgItem(call.dialog, IDC_HEAD_ADJUST_PRINT)))
    for (const Marks& m : kMarks)
      if (m.radio == st.currentRadio) marks = &m;
  DrawPattern(dis, bitmap, marks ? (wide ? marks->wide : marks->narrow) : nullptr,
              marks ? marks->count : 0, marks ? marks->edges : 0,
              st.patternPrinted ? RGB(255, 0, 0) : RGB(20, 20, 20));
  return true;
}

const DialogRow kHeadDialog = {
    IDD_HEAD_ADJUST, &pages::kLayoutHead_adjust, pages::kTextsHead_adjust,
    pages::kHelpHead_adjust, 4739, help::kHeadAdjustDialog,
    {HeadInit, HeadCommand, nullptr, HeadDraw, nullptr, HeadOther, nullptr}};

// ---- Detailed head position adjustment (template 5111) -------------------------

constexpr int32_t kDetailCentre = 8;

// Three colour rows, each read at three places; the registration value
// each row corrects.
struct DetailRow {
  int radio;
  int edit[3], updown[3];
  int markTop[3], markBottom[3];
};
constexpr DetailRow kDetailRows[3] = {
    {IDC_HEAD_DETAIL_ROW1,
     {IDC_HEAD_DETAIL_ROW1_PLACE1, IDC_HEAD_DETAIL_ROW1_PLACE2, IDC_HEAD_DETAIL_ROW1_PLACE3},
     {IDC_HEAD_DETAIL_ROW1_PLACE1_UPDOWN, IDC_HEAD_DETAIL_ROW1_PLACE2_UPDOWN, IDC_HEAD_DETAIL_ROW1_PLACE3_UPDOWN},
     {29, 117, 209}, {42, 130, 222}},
    {IDC_HEAD_DETAIL_ROW2,
     {IDC_HEAD_DETAIL_ROW2_PLACE1, IDC_HEAD_DETAIL_ROW2_PLACE2, IDC_HEAD_DETAIL_ROW2_PLACE3},
     {IDC_HEAD_DETAIL_ROW2_PLACE1_UPDOWN, IDC_HEAD_DETAIL_ROW2_PLACE2_UPDOWN, IDC_HEAD_DETAIL_ROW2_PLACE3_UPDOWN},
     {43, 131, 223}, {56, 144, 236}},
    {IDC_HEAD_DETAIL_ROW3,
     {IDC_HEAD_DETAIL_ROW3_PLACE1, IDC_HEAD_DETAIL_ROW3_PLACE2, IDC_HEAD_DETAIL_ROW3_PLACE3},
     {IDC_HEAD_DETAIL_ROW3_PLACE1_UPDOWN, IDC_HEAD_DETAIL_ROW3_PLACE2_UPDOWN, IDC_HEAD_DETAIL_ROW3_PLACE3_UPDOWN},
     {58, 146, 238}, {71, 159, 251}},
};

const std::initializer_list<int> kDetailStages[3] = {
    {IDC_HEAD_DETAIL_STEP1_TEXT, IDC_HEAD_DETAIL_PRINT},
    {IDC_HEAD_DETAIL_STEP2_TEXT, IDC_HEAD_DETAIL_ROW1, IDC_HEAD_DETAIL_ROW1_PLACE1,
     IDC_HEAD_DETAIL_ROW1_PLACE1_UPDOWN, IDC_HEAD_DETAIL_ROW1_PLACE2, IDC_HEAD_DETAIL_ROW1_PLACE2_UPDOWN,
     IDC_HEAD_DETAIL_ROW1_PLACE3, IDC_HEAD_DETAIL_ROW1_PLACE3_UPDOWN, IDC_HEAD_DETAIL_STEP2_BACK,
     IDC_HEAD_DETAIL_STEP2_NEXT, IDC_HEAD_DETAIL_STEP2_GROUP, IDC_HEAD_DETAIL_STEP2_PLACE1,
     IDC_HEAD_DETAIL_STEP2_PLACE2, IDC_HEAD_DETAIL_STEP2_PLACE3},
    {IDC_HEAD_DETAIL_STEP3_TEXT, IDC_HEAD_DETAIL_ROW2, IDC_HEAD_DETAIL_ROW2_PLACE1,
     IDC_HEAD_DETAIL_ROW2_PLACE1_UPDOWN, IDC_HEAD_DETAIL_ROW2_PLACE2, IDC_HEAD_DETAIL_ROW2_PLACE2_UPDOWN,
     IDC_HEAD_DETAIL_ROW2_PLACE3, IDC_HEAD_DETAIL_ROW2_PLACE3_UPDOWN, IDC_HEAD_DETAIL_ROW3,
     IDC_HEAD_DETAIL_ROW3_PLACE1, IDC_HEAD_DETAIL_ROW3_PLACE1_UPDOWN, IDC_HEAD_DETAIL_ROW3_PLACE2,
     IDC_HEAD_DETAIL_ROW3_PLACE2_UPDOWN, IDC_HEAD_DETAIL_ROW3_PLACE3, IDC_HEAD_DETAIL_ROW3_PLACE3_UPDOWN,
     IDC_HEAD_DETAIL_STEP3_THEN, IDC_HEAD_DETAIL_STEP3_BACK, IDC_HEAD_DETAIL_SEND,
     IDC_HEAD_DETAIL_ROW2_GROUP, IDC_HEAD_DETAIL_ROW3_GROUP, IDC_HEAD_DETAIL_STEP3_PLACE1,
     IDC_HEAD_DETAIL_STEP3_PLACE2, IDC_HEAD_DETAIL_STEP3_PLACE3},
};

struct EditPlace {
  int row, place;
};
EditPlace FindDetailEdit(int edit) {
  for (int r = 0; r < 3; ++r)
    for (int p = 0; p < 3; ++p)
      if (kDetailRows[r].edit[p] == edit) return {r, p};
  return {-1, -1};
}
EditPlace FindDetailUpdown(HWND dialog, HWND control) {
  for (int r = 0; r < 3; ++r)
    for (int p = 0; p < 3; ++p)
      if (GetDlgItem(dialog, kDetailRows[r].updown[p]) == control) return {r, p};
  return {-1, -1};
}

int32_t DetailCentre(const HeadData& d) { return d.extended ? kExtendedCentre : kDetailCentre; }

int32_t RowMeanOf(HWND dialog, int row) {
  const DetailRow& r = kDetailRows[row];
  return maint::RowMean(EditValue(dialog, r.edit[0]), EditValue(dialog, r.edit[1]),
                        EditValue(dialog, r.edit[2]));
}

void DetailRangeMode(HWND dialog, HeadData& d) {
  d.limit = maint::DetailLimit(static_cast<int32_t>(d.paper.paperWidth),
                               static_cast<int32_t>(d.paper.marginLeft),
                               static_cast<int32_t>(d.paper.marginRight), d.extended);
  for (const DetailRow& row : kDetailRows)
    for (int edit : row.edit) SendDlgItemMessageW(dialog, edit, EM_LIMITTEXT, d.extended ? 4 : 2, 0);
  ResetSlider(dialog, IDC_HEAD_DETAIL_SLIDER, DetailCentre(d), false);
}

// The edit the slider moves: its row's range shows on the slider.
void FocusDetailEdit(DialogCall& call, int edit) {
  HeadData& d = call.Get<HeadData>();
  const EditPlace at = FindDetailEdit(edit);
  if (at.row < 0) return;
  d.currentEdit = edit;
  State(call).currentRadio = static_cast<uint16_t>(kDetailRows[at.row].radio);
  for (const DetailRow& row : kDetailRows)
    CheckDlgButton(call.dialog, row.radio, &row == &kDetailRows[at.row] ? BST_CHECKED : BST_UNCHECKED);
  SetSliderSelection(call.dialog, IDC_HEAD_DETAIL_SLIDER, DetailCentre(d), State(call).ranges[at.row]);
  SendDlgItemMessageW(call.dialog, IDC_HEAD_DETAIL_SLIDER, TBM_SETPOS, TRUE,
                      maint::SliderPosition(DetailCentre(d), EditValue(call.dialog, edit)));
  Redraw(call.dialog, IDC_HEAD_DETAIL_PREVIEW);
}

void DetailBeginStage(DialogCall& call, int stage) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  d.stage = stage;
  for (int s = 0; s < 3; ++s)
    for (int id : kDetailStages[s]) Enable(dialog, id, s + 1 == stage);
  if (stage == 1) {
    SetFocus(GetDlgItem(dialog, IDC_HEAD_DETAIL_PRINT));
    Redraw(dialog, IDC_HEAD_DETAIL_PREVIEW);
    return;
  }
  const maint::DetailRanges ranges =
      maint::DetailStageRanges(stage, st.registration, RowMeanOf(dialog, 0), d.limit);
  const maint::CorrectionRange byRow[3] = {ranges.first, ranges.second, ranges.third};
  for (int r = stage == 2 ? 0 : 1; r < (stage == 2 ? 1 : 3); ++r) {
    st.ranges[r] = {static_cast<uint16_t>(kDetailRows[r].radio), byRow[r].hi, byRow[r].lo,
                    byRow[r].position};
    for (int updown : kDetailRows[r].updown) {
      SendDlgItemMessageW(dialog, updown, UDM_SETRANGE32, byRow[r].lo, byRow[r].hi);
      SendDlgItemMessageW(dialog, updown, UDM_SETPOS32, 0, byRow[r].position);
    }
  }
  const int first = kDetailRows[stage == 2 ? 0 : 1].edit[0];
  SetFocus(GetDlgItem(dialog, first));
  FocusDetailEdit(call, first);
}

void DetailBackToStart(DialogCall& call) {
  State(call).patternPrinted = false;
  ResetSlider(call.dialog, IDC_HEAD_DETAIL_SLIDER, DetailCentre(call.Get<HeadData>()), false);
  DetailBeginStage(call, 1);
}

void DetailInit(DialogCall& call) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  d.extended = maint::IsDetailExtendedRange(st.registration);
  ReadHeldValues(d);
  ShowPaperType(dialog, d, kDetailPictures);
  d.wideDetail = maint::DetailLimit(static_cast<int32_t>(d.paper.paperWidth),
                                    static_cast<int32_t>(d.paper.marginLeft),
                                    static_cast<int32_t>(d.paper.marginRight), false) == 8;
  for (int i = 0; i < 3; ++i) {
    const wchar_t digit[2] = {static_cast<wchar_t>(L'1' + i), 0};
    SetDlgItemTextW(dialog, kDetailRows[i].radio, digit);
    SetDlgItemTextW(dialog, IDC_HEAD_DETAIL_STEP2_PLACE1 + i, digit);
    SetDlgItemTextW(dialog, IDC_HEAD_DETAIL_STEP3_PLACE1 + i, digit);
  }
  st.patternPrinted = false;
  for (const DetailRow& row : kDetailRows)
    for (int edit : row.edit) {
      SubclassSignedNumberEdit(GetDlgItem(dialog, edit), d.extended ? 4 : 2);
      SetDlgItemInt(dialog, edit, 0, TRUE);
    }
  DetailRangeMode(dialog, d);
  st.currentRadio = IDC_HEAD_DETAIL_ROW1;
  d.currentEdit = IDC_HEAD_DETAIL_ROW1_PLACE1;
  DetailBeginStage(call, 1);
}

void DetailPrint(DialogCall& call) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  if (!PrintPattern(dialog, d, 47)) return;
  d.extended = maint::IsDetailExtendedRange(st.registration);
  DetailRangeMode(dialog, d);
  for (int r = 0; r < 3; ++r) {
    st.ranges[r] = {};
    for (int updown : kDetailRows[r].updown) ClearUpdown(dialog, updown);
  }
  DetailBeginStage(call, 2);
  StorePrintedPaperType(d);
}

void DetailSend(DialogCall& call) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  if (!ConfirmAndWait(dialog, *d.t, 4013) || !ReadValuesForUse(dialog, d)) return;
  const maint::Registration values = maint::AddDetailCorrections(
      State(call).registration, RowMeanOf(dialog, 0), RowMeanOf(dialog, 1), RowMeanOf(dialog, 2));
  const Sent sent = StoreAndSend(dialog, d, values);
  if (sent == Sent::kStoredNotSent) call.End(0);
  if (sent == Sent::kSent) DetailBackToStart(call);
}

bool DetailCommand(DialogCall& call, UINT id, UINT code) {
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  if (const EditPlace at = FindDetailEdit(static_cast<int>(id)); at.row >= 0) {
    if (code == EN_SETFOCUS) FocusDetailEdit(call, static_cast<int>(id));
    if (code == EN_KILLFOCUS)
      SendDlgItemMessageW(dialog, static_cast<int>(id), EM_LIMITTEXT, d.extended ? 4 : 2, 0);
    int32_t value = 0;
    if (code == EN_CHANGE && !d.writing && st.patternPrinted &&
        NormaliseEdit(dialog, d, static_cast<int>(id), st.ranges[at.row], &value) &&
        static_cast<int>(id) == d.currentEdit && !d.extended)
      SendDlgItemMessageW(dialog, IDC_HEAD_DETAIL_SLIDER, TBM_SETPOS, TRUE,
                          maint::SliderPosition(kDetailCentre, value));
    return true;
  }
  if (code != BN_CLICKED) return false;
  for (const DetailRow& row : kDetailRows)
    if (static_cast<int>(id) == row.radio) {
      SetFocus(GetDlgItem(dialog, row.edit[0]));
      FocusDetailEdit(call, row.edit[0]);
      return true;
    }
  switch (id) {
    case IDC_HEAD_DETAIL_PRINT:
      DetailPrint(call);
      return true;
    case IDC_HEAD_DETAIL_SEND:
      DetailSend(call);
      return true;
    case IDC_HEAD_DETAIL_STEP2_BACK:
      DetailBackToStart(call);
      return true;
    case IDC_HEAD_DETAIL_STEP2_NEXT:
      DetailBeginStage(call, 3);
      return true;
    case IDC_HEAD_DETAIL_STEP3_BACK:
      DetailBeginStage(call, 2);
      return true;
    case IDC_HEAD_DETAIL_CLOSE:
    case IDCANCEL:
      if (Confirmed(dialog, 4029)) call.End(0);
      return true;
    case IDC_HEAD_DETAIL_HELP:
      ShowHelpTopic(dialog, d.t->printer, help::kDetailedHeadAdjustDialog);
      return true;
    case IDC_HEAD_DETAIL_HOW_TO_READ:
      ShowHelpTopic(dialog, d.t->printer, help::kDetailedHeadAdjustPattern);
      return true;
    default:
      return false;
  }
}

bool DetailOther(DialogCall& call, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_VSCROLL) return false;
  HWND dialog = call.dialog;
  HeadData& d = call.Get<HeadData>();
  HeadAdjustmentState& st = State(call);
  HWND from = reinterpret_cast<HWND>(lParam);
  HWND slider = GetDlgItem(dialog, IDC_HEAD_DETAIL_SLIDER);
  if (from == slider) {
    const EditPlace at = FindDetailEdit(d.currentEdit);
    if (d.extended || at.row < 0) return true;
    const Range& range = st.ranges[at.row];
    const int32_t position = static_cast<int32_t>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    const int32_t value = maint::SliderCorrection(kDetailCentre, position, {range.lo, range.hi, 0});
    if (maint::SliderPosition(kDetailCentre, value) != position)
      SendMessageW(slider, TBM_SETPOS, TRUE, maint::SliderPosition(kDetailCentre, value));
    SendDlgItemMessageW(dialog, kDetailRows[at.row].updown[at.place], UDM_SETPOS32, 0, value);
    return true;
  }
  if (const EditPlace at = FindDetailUpdown(dialog, from); at.row >= 0) {
    if (kDetailRows[at.row].edit[at.place] == d.currentEdit)
      SendMessageW(slider, TBM_SETPOS, TRUE,
                   maint::SliderPosition(DetailCentre(d), static_cast<int32_t>(SendMessageW(from, UDM_GETPOS32, 0, 0))));
    return true;
  }
  return false;
}

bool DetailDraw(DialogCall& call, const DRAWITEMSTRUCT& dis) {
  if (dis.CtlID != IDC_HEAD_DETAIL_PREVIEW) return false;
  const HeadData& d = call.Get<HeadData>();
  const bool printed = State(call).patternPrinted;
  const int bitmap = printed ? (d.wideDetail ? 483 : 482) : (d.wideDetail ? 485 : 484);
  RECT mark{};
  bool marked = false;
  if (!IsWindowEnabled(GetDlgItem(call.dialog, IDC_HEAD_DETAIL_PRINT))) {
    const EditPlace at = FindDetailEdit(d.currentEdit);
    if (at.row >= 0) {
      mark = {30, kDetailRows[at.row].markTop[at.place], 245, kDetailRows[at.row].markBottom[at.place]};
      marked = true;
    }
  }
  DrawPattern(dis, bitmap, &mark, marked ? 1 : 0, 15, RGB(255, 0, 0));
  return true;
}

const DialogRow kDetailDialog = {
    IDD_HEAD_DETAIL, &pages::kLayoutHead_detail, pages::kTextsHead_detail,
    pages::kHelpHead_detail, 4740, help::kDetailedHeadAdjustDialog,
    {DetailInit, DetailCommand, nullptr, DetailDraw, nullptr, DetailOther, nullptr}};

INT_PTR RunHeadDialog(HWND owner, SheetContext& sheet, const MaintenanceTarget& t, const DialogRow& row) {
  HeadData data{};
  data.sheet = &sheet;
  data.t = &t;
  data.filePort = IsFilePort(t.printer);
  FindPaper(sheet, t.printerOwn, &data.paper);
  return RunModalDialog(owner, row, &data);
}

}  // namespace

INT_PTR ShowHeadAdjustmentDialog(HWND owner, SheetContext& sheet, const MaintenanceTarget& t) {
  return RunHeadDialog(owner, sheet, t, kHeadDialog);
}

INT_PTR ShowDetailedHeadAdjustmentDialog(HWND owner, SheetContext& sheet, const MaintenanceTarget& t) {
  return RunHeadDialog(owner, sheet, t, kDetailDialog);
}

}  // namespace vq
