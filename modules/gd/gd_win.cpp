// VQ312GD.dll: the maintenance command channel, here to the simulated
// printer. A command that carries settings takes them from the printer data
// the pages wrote just before (registration values, sleep times, cutter
// positions, switches), as the real channel sends them to the printer.
// Every command, refused or not, lands in the printer's command log.
#include <windows.h>
#include <winspool.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "modules/simulated_printer/maintenance_state_win.h"
#include "modules/simulated_printer/simulated_printer_win.h"

namespace {

struct Channel {
  HANDLE printer;
  std::wstring name;
};

std::mutex g_lock;
std::set<Channel*> g_channels;

Channel* Find(HANDLE handle) {
  std::lock_guard<std::mutex> lock(g_lock);
  auto* channel = static_cast<Channel*>(handle);
  return g_channels.count(channel) ? channel : nullptr;
}

std::vector<uint8_t> Value(HANDLE printer, const wchar_t* name) {
  std::vector<uint8_t> bytes(64);
  DWORD type = 0, needed = 0;
  if (GetPrinterDataW(printer, const_cast<wchar_t*>(name), &type, bytes.data(),
                      static_cast<DWORD>(bytes.size()), &needed) != ERROR_SUCCESS)
    return {};
  bytes.resize(needed);
  return bytes;
}

bool Dword(HANDLE printer, const wchar_t* name, uint32_t* value) {
  const std::vector<uint8_t> bytes = Value(printer, name);
  if (bytes.size() != 4) return false;
  *value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t{bytes[3]} << 24;
  return true;
}

vq::sim::CommandData DataFor(uint32_t code, HANDLE printer, const void* block) {
  vq::sim::CommandData data;
  data.block = static_cast<const uint8_t*>(block);
  switch (code) {
    case 16:
      data.haveSleep = Dword(printer, L"APUI_DWSLEEPTIMER", &data.sleepValue);
      break;
    case 17:
      data.switches[0] = Value(printer, L"APUI_SPECIALSET");
      data.switches[1] = Value(printer, L"APUI_SPECIALSET_02");
      data.switches[2] = Value(printer, L"APUI_SPECIALSET_03");
      break;
    case 19:
      data.registration = Value(printer, L"APUI_REGPOSITION");
      break;
    case 24:
      data.haveCut = Dword(printer, L"APUI_DWCUTSTOPPOS", &data.cutStop) &&
                     Dword(printer, L"APUI_DWCUTPOS", &data.cutPosition);
      break;
    case 31:
      data.tearOff = Value(printer, L"APUI_SPECIALTEAROFF");
      break;
    default:
      break;
  }
  return data;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// Ordinal 2: a channel to the printer for the job settings record given
// (this printer takes no settings from it), 0 on failure.
HANDLE WINAPI OpenCommandChannel(const void* settings, HANDLE printer) noexcept {
  try {
    if (!settings || !printer) return nullptr;
    std::wstring name = vq::sim::PrinterNameOf(printer);
    if (name.empty()) return nullptr;
    auto* channel = new Channel{printer, std::move(name)};
    std::lock_guard<std::mutex> lock(g_lock);
    g_channels.insert(channel);
    return channel;
  } catch (...) {
    return nullptr;
  }
}

// Ordinal 3: non-zero when the printer took the command.
BOOL WINAPI SendCommand(HANDLE handle, DWORD code, const void* data) noexcept {
  try {
    Channel* channel = Find(handle);
    if (!channel) return FALSE;
    vq::sim::PrinterState state;
    vq::sim::MaintenanceState maintenance;
    if (!vq::sim::ReadSimulatedPrinter(channel->printer, &state, &maintenance)) return FALSE;
    const vq::sim::PrinterState before = state;
    const bool taken = vq::sim::ApplyCommand(code, DataFor(code, channel->printer, data),
                                             vq::sim::NowMs(), &state, &maintenance);
    if (!vq::sim::WriteMaintenanceState(channel->name, maintenance)) return FALSE;
    if (state.state != before.state && !vq::sim::WritePrinterState(channel->name, state))
      return FALSE;
    return taken;
  } catch (...) {
    return FALSE;
  }
}

// Ordinal 4.
BOOL WINAPI CloseCommandChannel(HANDLE handle) noexcept {
  std::lock_guard<std::mutex> lock(g_lock);
  auto* channel = static_cast<Channel*>(handle);
  if (!g_channels.erase(channel)) return FALSE;
  delete channel;
  return TRUE;
}

}  // extern "C"
