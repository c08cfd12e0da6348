// `vq312ctl defaults set [--printer NAME] KEY=VALUE ...`: changes the
// printer's default job settings without opening a window, for
// administrators who set up many machines. Each value is checked the way
// the page that shows it checks it; one refused value stores nothing.
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <vector>

#include "pages/job_fields.h"
#include "settings/job_settings.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {
namespace {

void Usage() {
  Print("usage: vq312ctl defaults set [--printer NAME] KEY=VALUE ...\n  keys:");
  for (const char* line : JobFieldHelp()) Print(" %s", line);
  Print("\n");
}

}  // namespace

int RunDefaults(int argc, wchar_t** argv) {
  if (argc < 4 || std::wstring(argv[2]) != L"set") {
    Usage();
    return 2;
  }
  std::wstring name = L"Morva VT-Q3120";
  std::vector<std::pair<std::string, std::string>> changes;
  for (int i = 3; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--printer" && i + 1 < argc) {
      name = argv[++i];
      continue;
    }
    const size_t eq = arg.find(L'=');
    if (eq == std::wstring::npos) {
      Print("vq312ctl: %s is not KEY=VALUE\n", Narrow(arg).c_str());
      Usage();
      return 2;
    }
    changes.emplace_back(Narrow(arg.substr(0, eq)), Narrow(arg.substr(eq + 1)));
  }
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &access)) {
    Print("vq312ctl: no printer \"%s\" that may be administered\n", Narrow(name).c_str());
    return 1;
  }
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed ? needed : 1);
  auto* p2 = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  JobSettings js{};
  if (!GetPrinterW(printer, 2, info.data(), needed, &needed) || !p2->pDevMode ||
      CopyDevModeBytes(p2->pDevMode, kUnknownSize, &js) < kJobSettingsSize || !HasSignature(js)) {
    Print("vq312ctl: \"%s\" has no default job settings of this driver\n", Narrow(name).c_str());
    ClosePrinter(printer);
    return 1;
  }
  for (const auto& [key, value] : changes) {
    const FieldChange c = SetJobField(js, key, value);
    if (!c.known || !c.ok) {
      Print("vq312ctl: %s=%s refused: %s; nothing stored\n", key.c_str(), value.c_str(),
            c.known ? c.reason.c_str() : "not a setting of this command");
      ClosePrinter(printer);
      return c.known ? 1 : 2;
    }
  }
  std::memcpy(p2->pDevMode, &js, sizeof js);
  p2->pSecurityDescriptor = nullptr;
  const bool stored = SetPrinterW(printer, 2, info.data(), 0);
  ClosePrinter(printer);
  if (!stored) {
    Print("vq312ctl: the default job settings could not be stored (error %lu)\n", GetLastError());
    return 1;
  }
  Print("%zu setting(s) stored in the default job settings of \"%s\"\n", changes.size(),
        Narrow(name).c_str());
  return 0;
}

}  // namespace vq::ctl
