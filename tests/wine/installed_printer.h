// The printer that the test bed's install fixture created, as the tests and
// benchmarks under Wine reach it: through winspool, and the driver's own
// modules loaded from the driver directory the spooler put them in.
#pragma once

#include <windows.h>
#include <winspool.h>
#include <winddiui.h>

#include <string>
#include <vector>

#include "devinfo/difm_api.h"
#include "settings/job_settings.h"

namespace vq::wine {

inline constexpr wchar_t kPrinterName[] = L"Morva VT-Q3120";

// An open printer handle, closed on destruction.
class Printer {
 public:
  explicit Printer(const wchar_t* name = kPrinterName, DWORD access = PRINTER_ACCESS_USE);
  ~Printer();
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HANDLE h_ = nullptr;
};

// The folder the spooler installed the driver's files into.
std::wstring InstalledDriverFolder();

// A module of the installed driver, loaded by full path.
HMODULE LoadInstalledModule(const wchar_t* file);

// The device-information module as installed.
DifmApi InstalledDifm();

// The text of message `id` as the installed device module gives it in the
// user's language; empty when it has none.
std::wstring InstalledMessageText(uint32_t id);

// The printer's stored default device mode (level 2), whole.
std::vector<unsigned char> StoredDevMode(HANDLE printer);

// A printer-data value, whole; false when missing.
bool ReadValue(HANDLE printer, const wchar_t* name, std::vector<unsigned char>* bytes,
               DWORD* type);

// An export of a loaded driver module, as the spooler would resolve it.
template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The driver entry points that Wine's spooler never calls, so tests call them.
using DeviceCapabilitiesFn = DWORD(WINAPI*)(HANDLE, PWSTR, WORD, PVOID, PDEVMODEW);
using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using JobAttributesFn = BOOL(WINAPI*)(HANDLE, PDEVMODEW, DWORD, LPBYTE);

// DocumentPropertiesW without a prompt: in, out, mode; returns its result.
LONG DocumentProperties(HANDLE printer, const void* in, JobSettings* out, DWORD mode);

}  // namespace vq::wine
