#include "pages/utility/settings_dialogs_win.h"

#include <commctrl.h>
#include <winspool.h>

#include <string>

#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/shared_controls_win.h"
#include "uicore/texts_win.h"

namespace vq {

bool WritePrinterDataDword(HANDLE printer, const wchar_t* name, DWORD value) {
  return SetPrinterDataW(printer, const_cast<wchar_t*>(name), REG_DWORD,
                         reinterpret_cast<BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
}

bool WritePrinterDataBytes(HANDLE printer, const wchar_t* name, const void* bytes, DWORD size) {
  return SetPrinterDataW(printer, const_cast<wchar_t*>(name), REG_BINARY,
                         static_cast<BYTE*>(const_cast<void*>(bytes)), size) == ERROR_SUCCESS;
}

bool ReadPrinterDataBytes(HANDLE printer, const wchar_t* name, void* bytes, DWORD size) {
  DWORD type = 0, needed = 0;
  return GetPrinterDataW(printer, const_cast<wchar_t*>(name), &type, static_cast<BYTE*>(bytes),
                         size, &needed) == ERROR_SUCCESS &&
         needed == size;
}

namespace {

void Enable(HWND dialog, std::initializer_list<int> ids, bool on) {
  for (int id : ids) EnableWindow(GetDlgItem(dialog, id), on);
}

std::u16string EditText(HWND edit) {
  wchar_t text[32] = {};
  GetWindowTextW(edit, text, 32);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

void SetText(HWND dialog, int id, const std::u16string& text) {
  SetDlgItemTextW(dialog, id, reinterpret_cast<const wchar_t*>(text.c_str()));
}

// ---- Sleep timer -------------------------------------------------------------

struct SleepTimerData {
  const MaintenanceTarget* t;
  uint32_t first, second;
  bool read;
};

void ClampEdit(HWND dialog, int edit, int updown, int32_t lo, int32_t hi) {
  const std::u16string typed = EditText(GetDlgItem(dialog, edit));
  const int32_t value = maint::ClampTypedValue(typed, INT32_MIN, INT32_MAX);
  if (value < lo || value > hi)
    SendDlgItemMessageW(dialog, updown, UDM_SETPOS32, 0, maint::ClampTypedValue(typed, lo, hi));
}

void SleepEnablePower(HWND dialog) {
  const bool on = IsDlgButtonChecked(dialog, IDC_SLEEP_TIMER_POWER_CHECK) == BST_CHECKED &&
                  IsWindowEnabled(GetDlgItem(dialog, IDC_SLEEP_TIMER_POWER_CHECK));
  Enable(dialog, {IDC_SLEEP_TIMER_POWER_LABEL, IDC_SLEEP_TIMER_POWER_UNIT,
                  IDC_SLEEP_TIMER_POWER_EDIT, IDC_SLEEP_TIMER_POWER_UPDOWN}, on);
}

void SleepInit(DialogCall& call) {
  auto& d = call.Get<SleepTimerData>();
  uint8_t bytes[8] = {};
  d.read = ReadPrinterSetting(*d.t, kItemSleepTimer, bytes, sizeof bytes);
  d.first = d.read ? bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t{bytes[3]} << 24
                   : maint::kSleepFirstDefault;
  d.second = d.read ? bytes[4] | bytes[5] << 8 | bytes[6] << 16 | uint32_t{bytes[7]} << 24
                    : maint::kSleepSecondDefault;
  SendDlgItemMessageW(call.dialog, IDC_SLEEP_TIMER_SLEEP_UPDOWN, UDM_SETRANGE32,
                      maint::kSleepFirstMin, maint::kSleepFirstMax);
  SendDlgItemMessageW(call.dialog, IDC_SLEEP_TIMER_POWER_UPDOWN, UDM_SETRANGE32,
                      maint::kSleepSecondMin, maint::kSleepSecondMax);
  SendDlgItemMessageW(call.dialog, IDC_SLEEP_TIMER_SLEEP_UPDOWN, UDM_SETPOS32, 0, d.first);
  SendDlgItemMessageW(call.dialog, IDC_SLEEP_TIMER_POWER_UPDOWN, UDM_SETPOS32, 0,
                      d.second ? d.second : maint::kSleepSecondMin);
  for (int id : {IDC_SLEEP_TIMER_SLEEP_EDIT, IDC_SLEEP_TIMER_POWER_EDIT})
    SubclassSignedNumberEdit(GetDlgItem(call.dialog, id), 3);
  SetDlgItemInt(call.dialog, IDC_SLEEP_TIMER_SLEEP_EDIT, d.first, FALSE);
  SetDlgItemInt(call.dialog, IDC_SLEEP_TIMER_POWER_EDIT, d.second, FALSE);
  CheckDlgButton(call.dialog, IDC_SLEEP_TIMER_POWER_CHECK, d.second ? BST_CHECKED : BST_UNCHECKED);
  if (!d.read)
    Enable(call.dialog, {IDC_SLEEP_TIMER_INTRO, IDC_SLEEP_TIMER_SLEEP_GROUP,
                         IDC_SLEEP_TIMER_SLEEP_LABEL, IDC_SLEEP_TIMER_SLEEP_EDIT,
                         IDC_SLEEP_TIMER_SLEEP_UPDOWN, IDC_SLEEP_TIMER_SLEEP_UNIT,
                         IDC_SLEEP_TIMER_POWER_GROUP, IDC_SLEEP_TIMER_POWER_CHECK},
           false);
  SleepEnablePower(call.dialog);
}

void SleepOk(DialogCall& call) {
  auto& d = call.Get<SleepTimerData>();
  const uint32_t first = GetDlgItemInt(call.dialog, IDC_SLEEP_TIMER_SLEEP_EDIT, nullptr, FALSE);
  uint32_t second = GetDlgItemInt(call.dialog, IDC_SLEEP_TIMER_POWER_EDIT, nullptr, FALSE);
  if (!ConfirmAndWait(call.dialog, *d.t, 4016)) return;
  if (IsDlgButtonChecked(call.dialog, IDC_SLEEP_TIMER_POWER_CHECK) != BST_CHECKED) second = 0;
  if (!WritePrinterDataDword(d.t->printer, L"APUI_DWSLEEPTIMER", maint::PackSleepTimer(first, second)) ||
      !SendCommand(*d.t, 16)) {
    ShowMessageById(call.dialog, 4078);
    return;
  }
  d.first = first;
  d.second = second;
  call.End(0);
}

bool SleepCommand(DialogCall& call, UINT id, UINT code) {
  switch (id) {
    case IDC_SLEEP_TIMER_SLEEP_EDIT:
    case IDC_SLEEP_TIMER_POWER_EDIT: {
      const bool sleep = id == IDC_SLEEP_TIMER_SLEEP_EDIT;
      if (code == EN_SETFOCUS) SendDlgItemMessageW(call.dialog, id, EM_SETSEL, 0, -1);
      if (code == EN_CHANGE)
        ClampEdit(call.dialog, id, sleep ? IDC_SLEEP_TIMER_SLEEP_UPDOWN : IDC_SLEEP_TIMER_POWER_UPDOWN,
                  sleep ? maint::kSleepFirstMin : maint::kSleepSecondMin,
                  sleep ? maint::kSleepFirstMax : maint::kSleepSecondMax);
      return true;
    }
    case IDC_SLEEP_TIMER_POWER_CHECK:
      SleepEnablePower(call.dialog);
      return true;
    case IDC_SLEEP_TIMER_OK:
      SleepOk(call);
      return true;
    case IDC_SLEEP_TIMER_CANCEL:
    case IDCANCEL:
      call.End(0);
      return true;
    case IDC_SLEEP_TIMER_HELP:
      ShowHelpTopic(call.dialog, call.Get<SleepTimerData>().t->printer, help::kSleepTimerDialog);
      return true;
    default:
      return false;
  }
}

bool CloseWithZero(DialogCall& call, UINT message, WPARAM, LPARAM) {
  if (message != WM_CLOSE) return false;
  call.End(0);
  return true;
}

const DialogRow kSleepTimerDialog = {
    IDD_SLEEP_TIMER, &pages::kLayoutSleep, pages::kTextsSleep,
    pages::kHelpSleep, 4751, help::kSleepTimerDialog,
    {SleepInit, SleepCommand, nullptr, nullptr, nullptr, CloseWithZero, nullptr}};

// ---- Cutter position ---------------------------------------------------------

struct CutterData {
  const MaintenanceTarget* t;
  bool inches;
  int mode;
};

int ReadCutterPosition(const MaintenanceTarget& t, uint32_t item, const wchar_t* stored) {
  uint8_t bytes[4] = {};
  DWORD value = 0;
  if (ReadPrinterSetting(t, item, bytes, sizeof bytes))
    value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t{bytes[3]} << 24;
  else if (!ReadPrinterDataBytes(t.printerOwn, stored, &value, sizeof value))
    value = maint::kCutterCentre;
  return value > static_cast<DWORD>(maint::kCutterPositions) ? maint::kCutterCentre
                                                             : static_cast<int>(value);
}

void CutterShow(HWND dialog, bool inches) {
  const auto show = [&](int slider, int label) {
    const int p = static_cast<int>(SendDlgItemMessageW(dialog, slider, TBM_GETPOS, 0, 0));
    SetText(dialog, label, maint::FormatCutterOffset(maint::CutterOffset(p), inches));
  };
  show(IDC_CUTTER_POSITION_STOP_SLIDER, IDC_CUTTER_POSITION_STOP_VALUE);
  show(IDC_CUTTER_POSITION_CUT_SLIDER, IDC_CUTTER_POSITION_CUT_VALUE);
  wchar_t unit[32] = {};
  LoadTextById(inches ? 4887 : 4888, unit, sizeof unit);
  SetDlgItemTextW(dialog, IDC_CUTTER_POSITION_STOP_UNIT, unit);
  SetDlgItemTextW(dialog, IDC_CUTTER_POSITION_CUT_UNIT, unit);
}

void CutterInit(DialogCall& call) {
  auto& d = call.Get<CutterData>();
  HWND dialog = call.dialog;
  uint8_t mode = 0;
  d.mode = ReadPrinterSetting(*d.t, kItemCutterMode, &mode, 1) ? mode & 1 : 0;
  const int stop = ReadCutterPosition(*d.t, kItemCutStopPosition, L"APUI_DWCUTSTOPPOS");
  const int cut = ReadCutterPosition(*d.t, kItemCutPosition, L"APUI_DWCUTPOS");
  for (int slider : {IDC_CUTTER_POSITION_STOP_SLIDER, IDC_CUTTER_POSITION_CUT_SLIDER}) {
    SendDlgItemMessageW(dialog, slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, maint::kCutterPositions));
    SendDlgItemMessageW(dialog, slider, TBM_SETTICFREQ, 2, 0);
  }
  const std::u16string high = maint::FormatCutterOffset(maint::CutterOffset(40), d.inches);
  const std::u16string low = maint::FormatCutterOffset(maint::CutterOffset(0), d.inches);
  SetText(dialog, IDC_CUTTER_POSITION_STOP_MAX, high);
  SetText(dialog, IDC_CUTTER_POSITION_CUT_MAX, high);
  SetText(dialog, IDC_CUTTER_POSITION_STOP_MIN, low);
  SetText(dialog, IDC_CUTTER_POSITION_CUT_MIN, low);
  SendDlgItemMessageW(dialog, IDC_CUTTER_POSITION_STOP_SLIDER, TBM_SETPOS, TRUE, stop);
  SendDlgItemMessageW(dialog, IDC_CUTTER_POSITION_CUT_SLIDER, TBM_SETPOS, TRUE, cut);
  CutterShow(dialog, d.inches);
  if (d.mode == 0)
    Enable(dialog, {IDC_CUTTER_POSITION_CUT_GROUP, IDC_CUTTER_POSITION_CUT_BACK,
                    IDC_CUTTER_POSITION_CUT_FORWARD, IDC_CUTTER_POSITION_CUT_VALUE,
                    IDC_CUTTER_POSITION_CUT_UNIT, IDC_CUTTER_POSITION_CUT_SLIDER,
                    IDC_CUTTER_POSITION_CUT_MIN, IDC_CUTTER_POSITION_CUT_MAX},
           false);
  else
    Enable(dialog, {IDC_CUTTER_POSITION_STOP_GROUP, IDC_CUTTER_POSITION_STOP_BACK,
                    IDC_CUTTER_POSITION_STOP_FORWARD, IDC_CUTTER_POSITION_STOP_VALUE,
                    IDC_CUTTER_POSITION_STOP_UNIT, IDC_CUTTER_POSITION_STOP_SLIDER,
                    IDC_CUTTER_POSITION_STOP_MIN, IDC_CUTTER_POSITION_STOP_MAX},
           false);
}

void CutterOk(DialogCall& call) {
  auto& d = call.Get<CutterData>();
  if (!ConfirmAndWait(call.dialog, *d.t, 4017)) return;
  const DWORD stop = static_cast<DWORD>(
      SendDlgItemMessageW(call.dialog, IDC_CUTTER_POSITION_STOP_SLIDER, TBM_GETPOS, 0, 0));
  const DWORD cut = static_cast<DWORD>(
      SendDlgItemMessageW(call.dialog, IDC_CUTTER_POSITION_CUT_SLIDER, TBM_GETPOS, 0, 0));
  if (WritePrinterDataDword(d.t->printer, L"APUI_DWCUTSTOPPOS", stop) &&
      WritePrinterDataDword(d.t->printer, L"APUI_DWCUTPOS", cut)) {
    CommandChannel channel(*d.t);
    const bool sent = channel.Send(24);
    if (channel.Close() && sent) {
      call.End(0);
      return;
    }
  }
  ShowMessageById(call.dialog, 4078);
}

bool CutterCommand(DialogCall& call, UINT id, UINT) {
  auto& d = call.Get<CutterData>();
  switch (id) {
    case IDC_CUTTER_POSITION_DEFAULT:
      for (int slider : {IDC_CUTTER_POSITION_STOP_SLIDER, IDC_CUTTER_POSITION_CUT_SLIDER})
        SendDlgItemMessageW(call.dialog, slider, TBM_SETPOS, TRUE, maint::kCutterCentre);
      CutterShow(call.dialog, d.inches);
      return true;
    case IDC_CUTTER_POSITION_OK:
      CutterOk(call);
      return true;
    case IDC_CUTTER_POSITION_CANCEL:
    case IDCANCEL:
      call.End(1);
      return true;
    case IDC_CUTTER_POSITION_HELP:
      ShowHelpTopic(call.dialog, d.t->printer, help::kCutterPositionDialog);
      return true;
    default:
      return false;
  }
}

bool CutterOther(DialogCall& call, UINT message, WPARAM, LPARAM) {
  if (message != WM_HSCROLL) return false;
  CutterShow(call.dialog, call.Get<CutterData>().inches);
  return true;
}

const DialogRow kCutterDialog = {
    IDD_CUTTER_POSITION, &pages::kLayoutCutter, pages::kTextsCutter,
    pages::kHelpCutter, 4753, help::kCutterPositionDialog,
    {CutterInit, CutterCommand, nullptr, nullptr, nullptr, CutterOther, nullptr}};

// ---- Special settings ----------------------------------------------------------

struct SpecialData {
  const MaintenanceTarget* t;
  uint32_t caps[9];
  uint32_t item44[2];
  uint32_t dryingTime;  // item 63
  uint32_t tearOff;     // item 31, the first word of command 42's block
  uint8_t s1, s2;
  bool haveS2;
};

uint32_t Word(const uint8_t* b) { return b[0] | b[1] << 8 | b[2] << 16 | uint32_t{b[3]} << 24; }

void SpecialRadios(HWND dialog) {
  const bool on = IsDlgButtonChecked(dialog, IDC_SPECIAL_SETTINGS_HEAD_RAISE) == BST_CHECKED &&
                  IsWindowEnabled(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_HEAD_RAISE));
  Enable(dialog, {IDC_SPECIAL_SETTINGS_RAISE_LOW, IDC_SPECIAL_SETTINGS_RAISE_MEDIUM,
                  IDC_SPECIAL_SETTINGS_RAISE_HIGH}, on);
}

void SpecialShow(HWND dialog, const maint::SpecialSwitches& s) {
  auto check = [&](int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); };
  check(IDC_SPECIAL_SETTINGS_AUTO_CLEANING, s.autoCleaning);
  check(IDC_SPECIAL_SETTINGS_WIDE_MARGINS, s.wideMargins);
  check(IDC_SPECIAL_SETTINGS_BUZZER, s.buzzer);
  check(IDC_SPECIAL_SETTINGS_INK_SAVING, s.inkSaving);
  check(IDC_SPECIAL_SETTINGS_GAP_DETECTION, s.gapDetection);
  check(IDC_SPECIAL_SETTINGS_EXTRA_DRYING, s.extraDrying);
  check(IDC_SPECIAL_SETTINGS_HEAD_RAISE, s.headRaise != 0);
  check(IDC_SPECIAL_SETTINGS_RAISE_LOW, s.headRaise == 1);
  check(IDC_SPECIAL_SETTINGS_RAISE_MEDIUM, s.headRaise == 2);
  check(IDC_SPECIAL_SETTINGS_RAISE_HIGH, s.headRaise == 3);
}

maint::SpecialSwitches SpecialRead(HWND dialog) {
  auto on = [&](int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; };
  maint::SpecialSwitches s{};
  s.autoCleaning = on(IDC_SPECIAL_SETTINGS_AUTO_CLEANING);
  s.wideMargins = on(IDC_SPECIAL_SETTINGS_WIDE_MARGINS);
  s.buzzer = on(IDC_SPECIAL_SETTINGS_BUZZER);
  s.inkSaving = on(IDC_SPECIAL_SETTINGS_INK_SAVING);
  s.gapDetection = on(IDC_SPECIAL_SETTINGS_GAP_DETECTION);
  s.extraDrying = on(IDC_SPECIAL_SETTINGS_EXTRA_DRYING);
  s.headRaise = !on(IDC_SPECIAL_SETTINGS_HEAD_RAISE)       ? 0
                : on(IDC_SPECIAL_SETTINGS_RAISE_HIGH)     ? 3
                : on(IDC_SPECIAL_SETTINGS_RAISE_MEDIUM)   ? 2
                                                           : 1;
  return s;
}

void SpecialInit(DialogCall& call) {
  auto& d = call.Get<SpecialData>();
  HWND dialog = call.dialog;
  const MaintenanceTarget& t = *d.t;
  uint8_t caps[36] = {}, item44[8] = {}, item63[4] = {};
  const bool haveCaps = ReadPrinterSetting(t, kItemCapabilities, caps, sizeof caps);
  for (int w = 0; w < 9; ++w) d.caps[w] = haveCaps ? Word(caps + 4 * w) : 0;
  if (!haveCaps) EnableWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_OK), FALSE);
  const bool have44 = ReadPrinterSetting(t, kItemSwitches2Fallback, item44, sizeof item44);
  d.item44[0] = have44 ? Word(item44) : 0;
  d.item44[1] = have44 ? Word(item44 + 4) : 0;
  d.dryingTime = ReadPrinterSetting(t, kItemDryingTime, item63, sizeof item63) ? Word(item63) : 0;
  EnableWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_AUTO_CLEANING), d.caps[4] != 0);
  EnableWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_WIDE_MARGINS), d.caps[5] != 0);
  EnableWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_BUZZER), d.caps[1] != 0);
  EnableWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_INK_SAVING), d.caps[2] != 0);
  EnableWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_GAP_DETECTION), FALSE);
  ShowWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_GAP_DETECTION), SW_HIDE);
  EnableWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_EXTRA_DRYING), d.item44[1] != 0);
  ShowWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_EXTRA_DRYING), SW_SHOW);
  EnableWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_HEAD_RAISE), d.caps[7] != 0);
  EnableWindow(GetDlgItem(dialog, IDC_SPECIAL_SETTINGS_TEAR_OFF), haveCaps);

  uint8_t s1 = 0, s2 = 0, s3 = 0;
  bool mirrored = ReadPrinterSetting(t, kItemSwitches1, &s1, 1);
  d.haveS2 = false;
  if (!mirrored) {
    for (const wchar_t* name : {L"APUI_SPECIALSET", L"APUI_SPECIALSET_02", L"APUI_SPECIALSET_03"})
      DeletePrinterDataExW(t.printer, const_cast<wchar_t*>(L"PrinterDriverData"),
                           const_cast<wchar_t*>(name));
    s1 = 0;
  } else {
    d.haveS2 = ReadPrinterSetting(t, kItemSwitches2, &s2, 1);
    const bool haveS3 = ReadPrinterSetting(t, kItemSwitches3, &s3, 1);
    bool ok = WritePrinterDataBytes(t.printer, L"APUI_SPECIALSET", &s1, 1) &&
              (!d.haveS2 || WritePrinterDataBytes(t.printer, L"APUI_SPECIALSET_02", &s2, 1)) &&
              (!haveS3 || WritePrinterDataBytes(t.printer, L"APUI_SPECIALSET_03", &s3, 1));
    if (ok) {
      const uint32_t block[2] = {d.tearOff, d.dryingTime};
      ok = SendCommand(t, 42, block);
    }
    if (!ok) {
      ShowMessageById(dialog, 4078);
      return;
    }
  }
  if (!d.haveS2) s2 = uint8_t((d.item44[0] ? 0x01 : 0) | (d.item44[1] ? 0x02 : 0));
  d.s1 = s1;
  d.s2 = s2;
  SpecialShow(dialog, maint::SwitchesFromBytes(s1, s2));
  SpecialRadios(dialog);
  // The tear-off state lands in the word the drying-time command carried
  // first (0); a printer busy with its sensor fails the read with 153 there.
  if (!ReadTearOffState(t, &d.tearOff) && d.tearOff == kTearOffNotNow)
    ShowMessageById(dialog, 4078);
  CheckDlgButton(dialog, IDC_SPECIAL_SETTINGS_TEAR_OFF, d.tearOff != 1 ? BST_CHECKED : BST_UNCHECKED);
}

void SpecialOk(DialogCall& call) {
  auto& d = call.Get<SpecialData>();
  const MaintenanceTarget& t = *d.t;
  if (!ConfirmAndWait(call.dialog, t, 4017)) return;
  uint8_t s[3] = {};
  if (!ReadPrinterDataBytes(t.printer, L"APUI_SPECIALSET", &s[0], 1) ||
      !ReadPrinterDataBytes(t.printer, L"APUI_SPECIALSET_02", &s[1], 1) ||
      !ReadPrinterDataBytes(t.printer, L"APUI_SPECIALSET_03", &s[2], 1))
    return;
  maint::SwitchesToBytes(SpecialRead(call.dialog), &s[0], &s[1]);
  const DWORD tearOff =
      IsDlgButtonChecked(call.dialog, IDC_SPECIAL_SETTINGS_TEAR_OFF) == BST_CHECKED ? 0 : 1;
  bool ok = WritePrinterDataBytes(t.printer, L"APUI_SPECIALSET", &s[0], 1) &&
            WritePrinterDataBytes(t.printer, L"APUI_SPECIALSET_02", &s[1], 1) &&
            WritePrinterDataBytes(t.printer, L"APUI_SPECIALSET_03", &s[2], 1) &&
            WritePrinterDataBytes(t.printer, L"APUI_SPECIALTEAROFF", &tearOff, 4);
  if (ok) {
    CommandChannel channel(t);
    ok = channel.Send(17) && channel.Send(31);
    ok = channel.Close() && ok;
  }
  if (!ok) ShowMessageById(call.dialog, 4078);
}

bool SpecialCommand(DialogCall& call, UINT id, UINT code) {
  HWND dialog = call.dialog;
  auto checked = [&](int box) { return IsDlgButtonChecked(dialog, box) == BST_CHECKED; };
  switch (id) {
    case IDC_SPECIAL_SETTINGS_WIDE_MARGINS:
      if (code == BN_CLICKED && checked(id) && ShowMessageById(dialog, 4093) == IDNO)
        CheckDlgButton(dialog, id, BST_UNCHECKED);
      return true;
    case IDC_SPECIAL_SETTINGS_EXTRA_DRYING:
      if (code == BN_CLICKED && checked(id)) ShowMessageById(dialog, 4036);
      return true;
    case IDC_SPECIAL_SETTINGS_HEAD_RAISE:
      SpecialRadios(dialog);
      if (checked(id) && !checked(IDC_SPECIAL_SETTINGS_RAISE_LOW) &&
          !checked(IDC_SPECIAL_SETTINGS_RAISE_MEDIUM) && !checked(IDC_SPECIAL_SETTINGS_RAISE_HIGH))
        CheckDlgButton(dialog, IDC_SPECIAL_SETTINGS_RAISE_LOW, BST_CHECKED);
      return true;
    case IDC_SPECIAL_SETTINGS_OK:
      SpecialOk(call);
      return true;
    case IDC_SPECIAL_SETTINGS_CANCEL:
    case IDCANCEL:
      call.End(0);
      return true;
    case IDC_SPECIAL_SETTINGS_HELP:
      ShowHelpTopic(dialog, call.Get<SpecialData>().t->printer, help::kSpecialSettingsDialog);
      return true;
    default:
      return false;
  }
}

const DialogRow kSpecialDialog = {
    IDD_SPECIAL_SETTINGS, &pages::kLayoutSwitches, pages::kTextsSwitches,
    pages::kHelpSwitches, 4741, help::kSpecialSettingsDialog,
    {SpecialInit, SpecialCommand, nullptr, nullptr, nullptr, CloseWithZero, nullptr}};

}  // namespace

INT_PTR ShowSleepTimerDialog(HWND owner, const MaintenanceTarget& t) {
  SleepTimerData data{&t, 0, 0, false};
  return RunModalDialog(owner, kSleepTimerDialog, &data);
}

INT_PTR ShowCutterPositionDialog(HWND owner, const MaintenanceTarget& t) {
  CutterData data{&t, t.settings && t.settings->MeasureUnit != 0, 0};
  return RunModalDialog(owner, kCutterDialog, &data);
}

INT_PTR ShowSpecialSettingsDialog(HWND owner, const MaintenanceTarget& t) {
  SpecialData data{};
  data.t = &t;
  return RunModalDialog(owner, kSpecialDialog, &data);
}

}  // namespace vq
