#include "modules/simulated_printer/maintenance_state_win.h"

#include <winspool.h>

#include <vector>

namespace vq::sim {
namespace {

wchar_t* Name(const char16_t* name) {
  return const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(name));
}

// A value of the printer: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND or a failure.
DWORD ReadValue(HANDLE printer, const char16_t* name, std::vector<uint8_t>* bytes) {
  bytes->assign(256, 0);
  DWORD type = 0, needed = 0;
  const DWORD rc = GetPrinterDataW(printer, Name(name), &type, bytes->data(),
                                   static_cast<DWORD>(bytes->size()), &needed);
  if (rc == ERROR_SUCCESS) bytes->resize(needed);
  return rc;
}

bool OpenNamed(const std::wstring& name, DWORD access, HANDLE* printer) {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
  if (OpenPrinterW(const_cast<wchar_t*>(name.c_str()), printer, &defaults)) return true;
  // A connection name finds the local printer: the simulation has one machine.
  const size_t slash = name.rfind(L'\\');
  if (name.rfind(L"\\\\", 0) != 0 || slash < 2) return false;
  std::wstring local = name.substr(slash + 1);
  return OpenPrinterW(local.data(), printer, &defaults) != 0;
}

bool ReadMaintenance(HANDLE printer, MaintenanceState* out) {
  std::vector<uint8_t> bytes;
  const DWORD rc = ReadValue(printer, kMaintenanceValue, &bytes);
  if (rc == ERROR_FILE_NOT_FOUND) {
    *out = MaintenanceState{};
    return true;
  }
  return rc == ERROR_SUCCESS && DecodeMaintenance(bytes.data(), bytes.size(), out);
}

}  // namespace

uint64_t NowMs() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return (uint64_t{ft.dwHighDateTime} << 32 | ft.dwLowDateTime) / 10000;
}

std::wstring PrinterNameOf(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (!needed) return {};
  std::vector<BYTE> buffer(needed);
  if (!GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return {};
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  return info->pPrinterName ? info->pPrinterName : L"";
}

bool ReadSimulatedPrinter(HANDLE printer, PrinterState* state, MaintenanceState* maintenance) {
  if (!printer) return false;
  std::vector<uint8_t> bytes;
  const DWORD rc = ReadValue(printer, kStateValue, &bytes);
  if (rc == ERROR_FILE_NOT_FOUND)
    *state = PrinterState{};
  else if (rc != ERROR_SUCCESS || !DecodeState(bytes.data(), bytes.size(), state))
    return false;
  return ReadMaintenance(printer, maintenance);
}

bool ReadMaintenanceState(const std::wstring& name, MaintenanceState* out) {
  HANDLE printer = nullptr;
  if (!OpenNamed(name, PRINTER_ACCESS_USE, &printer)) return false;
  const bool ok = ReadMaintenance(printer, out);
  ClosePrinter(printer);
  return ok;
}

bool WriteMaintenanceState(const std::wstring& name, const MaintenanceState& state) {
  HANDLE printer = nullptr;
  if (!OpenNamed(name, PRINTER_ALL_ACCESS, &printer)) return false;
  std::vector<uint8_t> bytes = EncodeMaintenance(state);
  const DWORD rc = SetPrinterDataW(printer, Name(kMaintenanceValue), REG_BINARY, bytes.data(),
                                   static_cast<DWORD>(bytes.size()));
  ClosePrinter(printer);
  return rc == ERROR_SUCCESS;
}

}  // namespace vq::sim
