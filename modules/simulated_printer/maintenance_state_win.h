// Both values of the simulated printer read through a printer handle, and
// written back by name (writing needs administrator access, which the
// handle a page holds may not have).
#pragma once

#include <windows.h>

#include <string>

#include "modules/simulated_printer/maintenance_state.h"

namespace vq::sim {

// Milliseconds since 1601 (UTC): one clock for every process that looks at
// the printer, so a command started by one is seen running by another.
uint64_t NowMs();

// The printer's name as its handle knows it; empty on failure.
std::wstring PrinterNameOf(HANDLE printer);

// Reads both values (missing ones give the defaults); false when the
// printer cannot be read or a value is damaged.
bool ReadSimulatedPrinter(HANDLE printer, PrinterState* state, MaintenanceState* maintenance);
bool ReadMaintenanceState(const std::wstring& name, MaintenanceState* out);
bool WriteMaintenanceState(const std::wstring& name, const MaintenanceState& state);

}  // namespace vq::sim
