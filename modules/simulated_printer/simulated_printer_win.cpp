#include "modules/simulated_printer/simulated_printer_win.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

namespace vq::sim {
namespace {

HANDLE OpenByName(const std::wstring& name, DWORD access) {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
  HANDLE h = nullptr;
  if (OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &h, &defaults)) return h;
  if (name.rfind(L"\\\\", 0) != 0) return nullptr;
  const size_t slash = name.find(L'\\', 2);
  if (slash == std::wstring::npos) return nullptr;
  std::wstring local = name.substr(slash + 1);
  return OpenPrinterW(local.data(), &h, &defaults) ? h : nullptr;
}

const wchar_t* ValueName() { return reinterpret_cast<const wchar_t*>(kStateValue); }

}  // namespace

bool ReadPrinterState(const std::wstring& name, PrinterState* out) {
  HANDLE printer = OpenByName(name, PRINTER_ACCESS_USE);
  if (!printer) return false;
  BYTE bytes[kStateValueSize];
  DWORD type = 0, needed = 0;
  const DWORD rc = GetPrinterDataW(printer, const_cast<wchar_t*>(ValueName()), &type, bytes,
                                   sizeof bytes, &needed);
  ClosePrinter(printer);
  if (rc == ERROR_FILE_NOT_FOUND) {
    *out = PrinterState{};
    return true;
  }
  return rc == ERROR_SUCCESS && DecodeState(bytes, needed, out);
}

bool WritePrinterState(const std::wstring& name, const PrinterState& state) {
  HANDLE printer = OpenByName(name, PRINTER_ALL_ACCESS);
  if (!printer) return false;
  std::vector<uint8_t> bytes = EncodeState(state);
  const DWORD rc = SetPrinterDataW(printer, const_cast<wchar_t*>(ValueName()), REG_BINARY,
                                   bytes.data(), static_cast<DWORD>(bytes.size()));
  ClosePrinter(printer);
  return rc == ERROR_SUCCESS;
}

}  // namespace vq::sim
