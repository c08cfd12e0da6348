#include "pages/utility/printer_report_win.h"

#include <commdlg.h>

#include <string>

#include "monitor/status_monitor_win.h"
#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

std::wstring Text(uint16_t id) {
  wchar_t text[256] = {};
  LoadTextById(id, text, sizeof text);
  return text;
}

std::wstring Hex(unsigned v) {
  wchar_t t[8];
  wsprintfW(t, L"0x%02X", v);
  return t;
}

uint32_t Word(const uint8_t* b) { return b[0] | b[1] << 8 | b[2] << 16 | uint32_t{b[3]} << 24; }

std::wstring InkNames(uint8_t mask) {
  std::wstring names;
  for (int i = 0; i < 4; ++i)
    if (mask & (1 << i)) names += (names.empty() ? L"" : L", ") + Text(uint16_t(5322 + i));
  return names.empty() ? Text(5625) : names;
}

struct InfoData {
  const MaintenanceTarget* t;
};

void OnInit(DialogCall& call) {
  const MaintenanceTarget& t = *call.Get<InfoData>().t;
  CheckRadioButton(call.dialog, IDC_PRINTER_INFO_PRINT, IDC_PRINTER_INFO_SAVE,
                   IDC_PRINTER_INFO_PRINT);
  const std::wstring missing = Text(5619);
  SetDlgItemTextW(call.dialog, IDC_PRINTER_INFO_SERIAL, missing.c_str());
  SetDlgItemTextW(call.dialog, IDC_PRINTER_INFO_FIRMWARE, missing.c_str());
  // A running monitor owns the port; the identity then stays "not available".
  ReadPrinterIdentity(call.dialog, t.printer);
}

bool SaveReport(HWND dialog, const std::wstring& report) {
  wchar_t path[MAX_PATH] = L"printer-information.txt";
  std::wstring filter = Text(5606);
  filter += L'\0';
  filter += L"*.txt";
  filter += L'\0';
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = L"txt";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&ofn)) return false;
  // UTF-8 with a byte-order mark, so Notepad shows the Chinese report too.
  const int n = WideCharToMultiByte(CP_UTF8, 0, report.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes = "\xEF\xBB\xBF";
  std::string body(n > 0 ? size_t(n) - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, report.c_str(), -1, body.data(), n, nullptr, nullptr);
  bytes += body;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  const bool ok = file != INVALID_HANDLE_VALUE &&
                  WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  const std::wstring caption = Text(5600);
  MessageBoxW(dialog, Text(ok ? 5607 : 5608).c_str(), caption.c_str(),
              MB_OK | (ok ? MB_ICONINFORMATION : MB_ICONERROR));
  return true;
}

bool OnCommand(DialogCall& call, UINT id, UINT) {
  if (id != IDOK) return false;
  if (IsDlgButtonChecked(call.dialog, IDC_PRINTER_INFO_PRINT) == BST_CHECKED) {
    call.End(1);
    return true;
  }
  wchar_t serial[64] = {}, firmware[64] = {};
  GetDlgItemTextW(call.dialog, IDC_PRINTER_INFO_SERIAL, serial, 64);
  GetDlgItemTextW(call.dialog, IDC_PRINTER_INFO_FIRMWARE, firmware, 64);
  if (SaveReport(call.dialog, BuildPrinterReport(*call.Get<InfoData>().t, serial, firmware)))
    call.End(2);
  return true;
}

const DialogRow kInfoDialog = {IDD_PRINTER_INFO, &pages::kLayoutPrinter_info,
                               pages::kTextsPrinter_info, nullptr, 5600, nullptr,
                               {OnInit, OnCommand}};

}  // namespace

std::wstring BuildPrinterReport(const MaintenanceTarget& t, const std::wstring& serial,
                                const std::wstring& firmware) {
  const std::wstring missing = Text(5619);
  std::wstring r = Text(5610) + L"\r\n\r\n";
  auto line = [&](uint16_t label, const std::wstring& value) {
    r += Text(label) + L" " + value + L"\r\n";
  };
  line(5611, t.printerName ? t.printerName : L"");
  line(5612, L"5.00");
  line(4736, serial);
  line(4737, firmware);
  StateRecord record;
  if (ReadPrinterState(t, &record)) {
    const StateRecordView view = record.view();
    const auto mode = view.Byte(kStateSectionField, 4);
    const uint16_t state = RecordSaysBusy(view) ? 5621
                           : mode == kModeAsleep ? 5623
                           : mode == kModeReady  ? 5620
                           : mode == 2           ? 5622
                                                 : 5624;
    line(5613, Text(state));
    uint8_t empty = 0, low = 0;
    std::wstring others;
    for (const auto& alert : view.Alerts()) {
      if (alert.code == kAlertInkEmpty) empty |= alert.value & 0x0F;
      else if (alert.code == kAlertInkLow) low |= alert.value & 0x0F;
      else others += (others.empty() ? L"" : L" ") + Hex(alert.code);
    }
    line(5626, InkNames(empty));
    line(5627, InkNames(low));
    line(5614, others.empty() ? Text(5625) : others);
  } else {
    line(5613, missing);
  }
  uint8_t b[12] = {};
  line(5615, ReadPrinterSetting(t, kItemSleepTimer, b, 8)
                 ? std::to_wstring(Word(b)) + L", " + std::to_wstring(Word(b + 4))
                 : missing);
  uint8_t stop[4] = {}, cut[4] = {};
  line(5616, ReadPrinterSetting(t, kItemCutStopPosition, stop, 4) &&
                     ReadPrinterSetting(t, kItemCutPosition, cut, 4)
                 ? std::to_wstring(Word(stop)) + L", " + std::to_wstring(Word(cut))
                 : missing);
  uint8_t s1 = 0, s2 = 0, s3 = 0;
  line(5617, ReadPrinterSetting(t, kItemSwitches1, &s1, 1) &&
                     ReadPrinterSetting(t, kItemSwitches2, &s2, 1) &&
                     ReadPrinterSetting(t, kItemSwitches3, &s3, 1)
                 ? Hex(s1) + L", " + Hex(s2) + L", " + Hex(s3)
                 : missing);
  if (ReadPrinterSetting(t, kItemRegistration, b, 12)) {
    std::wstring values;
    for (uint8_t v : b) values += (values.empty() ? L"" : L" ") + std::to_wstring(int8_t(v));
    line(5618, values);
  } else {
    line(5618, missing);
  }
  return r;
}

INT_PTR ShowPrinterInfoOutputDialog(HWND owner, const MaintenanceTarget& t) {
  InfoData data{&t};
  const INT_PTR result = RunModalDialog(owner, kInfoDialog, &data);
  return result == IDCANCEL || result == -1 ? 2 : result;
}

}  // namespace vq
