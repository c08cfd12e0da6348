// `vq312ctl maint`: the maintenance operations without a window, for
// administrators of many label printers. It goes through the same module
// functions and checks as the utility page's buttons: the busy check, the
// wait for a ready printer (here a poll with a time limit instead of the
// wait dialog), the command channel, and the same printer-data values.
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/sibling_win.h"
#include "pages/utility/maintenance_win.h"
#include "pages/utility/settings_dialogs_win.h"
#include "settings/printer_store_win.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {
namespace {

constexpr DWORD kReadyTimeoutMs = 60000;

struct Operation {
  const char* name;
  uint32_t code;
};
constexpr Operation kSingleCommands[] = {
    {"nozzle-check", 10}, {"cleaning", 11}, {"calibrate", 28},
    {"feed", 15},         {"print-info", 13},
};

std::wstring DriverFolder(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterDriverW(printer, nullptr, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!needed || !GetPrinterDriverW(printer, nullptr, 2, buffer.data(), needed, &needed)) return {};
  std::wstring path = reinterpret_cast<DRIVER_INFO_2W*>(buffer.data())->pDriverPath;
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// Ready for a command: readable, not printing, nothing running, no alert.
bool WaitUntilReady(const MaintenanceTarget& t) {
  const ULONGLONG until = GetTickCount64() + kReadyTimeoutMs;
  do {
    StateRecord record;
    if (ReadPrinterState(t, &record)) {
      const StateRecordView view = record.view();
      const auto mode = view.Byte(kStateSectionField, 4);
      if (!RecordSaysBusy(view) && !view.Has(kAlertSectionField) &&
          (mode == kModeReady || mode == kModeAsleep))
        return true;
    }
    Sleep(250);
  } while (GetTickCount64() < until);
  return false;
}

uint32_t Word(const uint8_t* b) { return b[0] | b[1] << 8 | b[2] << 16 | uint32_t{b[3]} << 24; }

bool ParseUnsigned(const std::wstring& text, uint32_t lo, uint32_t hi, uint32_t* out) {
  wchar_t* end = nullptr;
  const unsigned long v = std::wcstoul(text.c_str(), &end, 0);
  if (text.empty() || *end || v < lo || v > hi) return false;
  *out = static_cast<uint32_t>(v);
  return true;
}

int SendChecked(const MaintenanceTarget& t, uint32_t code, bool filePort) {
  if (!filePort) {
    const int busy = IsPrinterBusy(t);
    if (busy == kBusy) {
      Print("vq312ctl: the printer is busy printing; try again when it has finished\n");
      return 1;
    }
    if (busy != kNotBusy) {
      Print("vq312ctl: the printer's state cannot be read\n");
      return 1;
    }
    if (!WaitUntilReady(t)) {
      Print("vq312ctl: the printer did not become ready within %lu s\n", kReadyTimeoutMs / 1000);
      return 1;
    }
  }
  if (!SendCommand(t, code)) {
    Print("vq312ctl: command %u was not sent: communication with the printer failed\n", code);
    return 1;
  }
  Print("command %u sent\n", code);
  return 0;
}

}  // namespace

int RunMaint(int argc, wchar_t** argv) {
  std::wstring name = L"Morva VT-Q3120";
  std::vector<std::wstring> args;
  for (int i = 2; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--printer" && i + 1 < argc)
      name = argv[++i];
    else
      args.push_back(argv[i]);
  }
  if (args.empty()) {
    Print("usage: vq312ctl maint [--printer NAME] OPERATION\n"
          "  nozzle-check | cleaning | calibrate | feed | print-info\n"
          "  sleep [FIRST SECOND|off]   cutter [STOP CUT]   special [S1 S2 S3]\n");
    return 2;
  }
  HANDLE printer = nullptr, admin = nullptr;
  PRINTER_DEFAULTSW use{nullptr, nullptr, PRINTER_ACCESS_USE};
  if (!OpenPrinterW(name.data(), &printer, &use)) {
    Print("vq312ctl: no printer \"%s\"\n", Narrow(name).c_str());
    return 1;
  }
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  const bool changes = args.size() > 1 || (args[0] != L"sleep" && args[0] != L"cutter" && args[0] != L"special");
  if (changes && !OpenPrinterW(name.data(), &admin, &all)) {
    Print("vq312ctl: you may not administer \"%s\"\n", Narrow(name).c_str());
    ClosePrinter(printer);
    return 1;
  }
  const std::wstring folder = DriverFolder(printer);
  HMODULE gs = folder.empty() ? nullptr : LoadSiblingModule(folder, L"VQ312GS.dll");
  JobSettings settings{};
  const std::vector<unsigned char> info = GetPrinterInfo(printer, 2);
  bool filePort = false;
  if (info.size() >= sizeof(PRINTER_INFO_2W)) {
    const auto* p2 = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    if (p2->pDevMode && size_t{p2->pDevMode->dmSize} + p2->pDevMode->dmDriverExtra >= sizeof settings)
      std::memcpy(&settings, p2->pDevMode, sizeof settings);
    filePort = p2->pPortName && lstrcmpiW(p2->pPortName, L"FILE:") == 0;
  }
  MaintenanceTarget t{gs, admin ? admin : printer, printer, &settings, name.c_str()};
  int rc = 2;
  const std::wstring& op = args[0];
  if (!gs) {
    Print("vq312ctl: VQ312GS.dll is missing from the driver folder\n");
    rc = 1;
  }
  for (const Operation& o : kSingleCommands)
    if (gs && op == std::wstring(o.name, o.name + std::strlen(o.name))) rc = SendChecked(t, o.code, filePort);
  if (gs && op == L"sleep") {
    uint8_t b[8] = {};
    if (args.size() == 1) {
      rc = ReadPrinterSetting(t, kItemSleepTimer, b, 8) ? 0 : 1;
      if (rc == 0) Print("sleep after %u min, power off after %u min (0: never)\n", Word(b), Word(b + 4));
      else Print("vq312ctl: the printer does not report its sleep times\n");
    } else {
      uint32_t first = 0, second = 0;
      if (args.size() != 3 || !ParseUnsigned(args[1], 1, 60, &first) ||
          !(args[2] == L"off" || ParseUnsigned(args[2], 1, 720, &second))) {
        Print("vq312ctl: sleep FIRST (1-60) SECOND (1-720 or off)\n");
      } else if (!WritePrinterDataDword(t.printer, L"APUI_DWSLEEPTIMER", maint::PackSleepTimer(first, second))) {
        Print("vq312ctl: cannot store the sleep times\n");
        rc = 1;
      } else {
        rc = SendChecked(t, 16, filePort);
      }
    }
  }
  if (gs && op == L"cutter") {
    uint8_t stop[4] = {}, cut[4] = {}, mode = 0;
    if (args.size() == 1) {
      rc = ReadPrinterSetting(t, kItemCutStopPosition, stop, 4) && ReadPrinterSetting(t, kItemCutPosition, cut, 4) ? 0 : 1;
      ReadPrinterSetting(t, kItemCutterMode, &mode, 1);
      if (rc == 0)
        Print("cut stop position %u (%s mm), cut position %u (%s mm), adjustable: %s\n", Word(stop),
              Narrow(std::wstring(reinterpret_cast<const wchar_t*>(maint::FormatCutterOffset(maint::CutterOffset(int(Word(stop))), false).c_str()))).c_str(),
              Word(cut),
              Narrow(std::wstring(reinterpret_cast<const wchar_t*>(maint::FormatCutterOffset(maint::CutterOffset(int(Word(cut))), false).c_str()))).c_str(),
              mode & 1 ? "cut position" : "cut stop position");
      else Print("vq312ctl: the printer does not report its cutter positions\n");
    } else {
      uint32_t s = 0, c = 0;
      if (args.size() != 3 || !ParseUnsigned(args[1], 0, 40, &s) || !ParseUnsigned(args[2], 0, 40, &c)) {
        Print("vq312ctl: cutter STOP CUT (slider positions 0-40, 20 is the centre)\n");
      } else if (!WritePrinterDataDword(t.printer, L"APUI_DWCUTSTOPPOS", s) ||
                 !WritePrinterDataDword(t.printer, L"APUI_DWCUTPOS", c)) {
        Print("vq312ctl: cannot store the cutter positions\n");
        rc = 1;
      } else {
        rc = SendChecked(t, 24, filePort);
      }
    }
  }
  if (gs && op == L"special") {
    uint8_t s[3] = {};
    if (args.size() == 1) {
      rc = ReadPrinterSetting(t, kItemSwitches1, &s[0], 1) && ReadPrinterSetting(t, kItemSwitches2, &s[1], 1) &&
                   ReadPrinterSetting(t, kItemSwitches3, &s[2], 1) ? 0 : 1;
      if (rc == 0) Print("special settings S1 0x%02X, S2 0x%02X, S3 0x%02X\n", s[0], s[1], s[2]);
      else Print("vq312ctl: the printer does not report its special settings\n");
    } else {
      uint32_t v[3] = {};
      if (args.size() != 4 || !ParseUnsigned(args[1], 0, 255, &v[0]) || !ParseUnsigned(args[2], 0, 255, &v[1]) ||
          !ParseUnsigned(args[3], 0, 255, &v[2])) {
        Print("vq312ctl: special S1 S2 S3 (bytes, 0x.. allowed)\n");
      } else {
        const uint8_t b[3] = {uint8_t(v[0]), uint8_t(v[1]), uint8_t(v[2])};
        if (!WritePrinterDataBytes(t.printer, L"APUI_SPECIALSET", &b[0], 1) ||
            !WritePrinterDataBytes(t.printer, L"APUI_SPECIALSET_02", &b[1], 1) ||
            !WritePrinterDataBytes(t.printer, L"APUI_SPECIALSET_03", &b[2], 1)) {
          Print("vq312ctl: cannot store the special settings\n");
          rc = 1;
        } else {
          rc = SendChecked(t, 17, filePort);
        }
      }
    }
  }
  if (rc == 2 && gs) Print("vq312ctl: unknown maintenance operation %s\n", Narrow(op).c_str());
  if (gs) FreeLibrary(gs);
  if (admin) ClosePrinter(admin);
  ClosePrinter(printer);
  return rc;
}

}  // namespace vq::ctl
