// VQ312PC.dll: the printer port, here the simulated printer's. Every read
// answers from the printer's state as it is stored at that moment, so a test
// or `vq312ctl state` can change the printer between two reads.
//
// Handles are checked against the ports this module opened: a stale or
// foreign handle fails the call instead of being followed.
#include <windows.h>

#include <mutex>
#include <set>
#include <string>

#include "modules/simulated_printer/simulated_printer_win.h"

namespace {

struct Port {
  std::wstring printer;
  vq::sim::SimulatedPort port;
};

std::mutex g_lock;
std::set<Port*> g_ports;

Port* Find(HANDLE handle) {
  std::lock_guard<std::mutex> lock(g_lock);
  auto* port = static_cast<Port*>(handle);
  return g_ports.count(port) ? port : nullptr;
}

std::wstring Wide(const char* text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
  out.resize(static_cast<size_t>(n) - 1);
  return out;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// Opens the port of the printer (the port name is taken as given: the
// simulation has one port per printer). 1 on success, 0 when the printer is
// unknown or its port is unplugged.
int WINAPI RPXOpenPort(const char* printer, const char* port, int, int, HANDLE* handle) noexcept {
  try {
    if (!printer || !port || !handle) return 0;
    *handle = nullptr;
    vq::sim::PrinterState state;
    const std::wstring name = Wide(printer);
    if (!vq::sim::ReadPrinterState(name, &state) ||
        state.port == vq::sim::PortBehaviour::kUnplugged)
      return 0;
    auto* opened = new Port{name, {}};
    std::lock_guard<std::mutex> lock(g_lock);
    g_ports.insert(opened);
    *handle = opened;
    return 1;
  } catch (...) {
    return 0;
  }
}

// 0 failure, -1 nothing to read, 1 with *read bytes in buffer.
int WINAPI RPXReadPort(HANDLE handle, BYTE* buffer, DWORD size, DWORD* read) noexcept {
  try {
    if (read) *read = 0;
    Port* port = Find(handle);
    vq::sim::PrinterState state;
    if (!port || !buffer || !read || !vq::sim::ReadPrinterState(port->printer, &state)) return 0;
    uint32_t got = 0;
    const int rc = port->port.Read(state, buffer, size, &got);
    *read = got;
    return rc;
  } catch (...) {
    return 0;
  }
}

int WINAPI RPXWritePort(HANDLE handle, const BYTE* bytes, DWORD size, DWORD* written) noexcept {
  try {
    if (written) *written = 0;
    Port* port = Find(handle);
    vq::sim::PrinterState state;
    if (!port || !bytes || !written || !vq::sim::ReadPrinterState(port->printer, &state)) return 0;
    uint32_t n = 0;
    const int rc = port->port.Write(state, bytes, size, &n);
    *written = n;
    return rc;
  } catch (...) {
    return 0;
  }
}

int WINAPI RPXClosePort(HANDLE* handle) noexcept {
  if (!handle) return 0;
  std::lock_guard<std::mutex> lock(g_lock);
  auto* port = static_cast<Port*>(*handle);
  if (!g_ports.erase(port)) return 0;
  delete port;
  *handle = nullptr;
  return 1;
}

}  // extern "C"
