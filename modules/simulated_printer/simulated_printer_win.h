// The simulated printer's state in its printer-data value, through winspool.
#pragma once

#include <string>

#include "modules/simulated_printer/simulated_printer.h"

namespace vq::sim {

// The state of the printer `name`. A connection name ("\\\\SERVER\\NAME")
// that does not open finds the local printer NAME. A printer without the
// value has the default state. false when no such printer opens or its value
// is damaged.
bool ReadPrinterState(const std::wstring& name, PrinterState* out);
// Stores the state; false when the printer does not open or refuses it.
bool WritePrinterState(const std::wstring& name, const PrinterState& state);

}  // namespace vq::sim
