// `vq312ctl state`: the simulated printer behind the status monitor and the
// port module, shown and set.
#include <string>
#include <vector>

#include "modules/simulated_printer/maintenance_state_win.h"
#include "modules/simulated_printer/simulated_printer_win.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {

int RunState(int argc, wchar_t** argv) {
  Options options;
  sim::PrinterState state;
  std::vector<std::string> settings;
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--printer" && i + 1 < argc)
      options.printer = argv[++i];
    else
      settings.push_back(Narrow(arg));
  }
  const std::string printer = Narrow(options.printer);
  if (!sim::ReadPrinterState(options.printer, &state)) {
    Print("vq312ctl: no printer \"%s\", or its simulated state is damaged\n", printer.c_str());
    return 1;
  }
  sim::MaintenanceState maintenance;
  if (!sim::ReadMaintenanceState(options.printer, &maintenance)) {
    Print("vq312ctl: the maintenance state of \"%s\" is damaged\n", printer.c_str());
    return 1;
  }
  if (!settings.empty()) {
    for (const std::string& word : settings) {
      std::string error;
      bool known = false;
      if (sim::ApplyMaintenanceSetting(word, &maintenance, &known, &error)) continue;
      if (!known && word == "reset") maintenance = sim::MaintenanceState{};
      if (known || !sim::ApplySetting(word, &state, &error)) {
        Print("vq312ctl: %s\n  settings: %s\n  %s\n", error.c_str(), sim::SettingWords().c_str(),
              sim::MaintenanceSettingWords().c_str());
        return 2;
      }
    }
    if (!sim::WriteMaintenanceState(options.printer, maintenance)) {
      Print("vq312ctl: cannot store the maintenance state of \"%s\" (error %lu)\n",
            printer.c_str(), GetLastError());
      return 1;
    }
    if (!sim::WritePrinterState(options.printer, state)) {
      Print("vq312ctl: cannot store the state of \"%s\" (error %lu)\n", printer.c_str(),
            GetLastError());
      return 1;
    }
  }
  Print("Simulated printer \"%s\": %s\n", printer.c_str(), sim::Describe(state).c_str());
  Print(sim::DescribeMaintenance(maintenance, sim::NowMs()));
  return 0;
}

}  // namespace vq::ctl
