#include "tests/wine/installed_printer.h"

#include <cstring>

namespace vq::wine {

Printer::Printer(const wchar_t* name, DWORD access) {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
  if (!OpenPrinterW(const_cast<wchar_t*>(name), &h_, &defaults)) h_ = nullptr;
}

Printer::~Printer() {
  if (h_) ClosePrinter(h_);
}

std::wstring InstalledDriverFolder() {
  Printer printer;
  if (!printer) return {};
  DWORD needed = 0;
  GetPrinterDriverW(printer.get(), nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> buf(needed ? needed : 1);
  if (!GetPrinterDriverW(printer.get(), nullptr, 3, buf.data(), needed, &needed)) return {};
  std::wstring path = reinterpret_cast<const DRIVER_INFO_3W*>(buf.data())->pConfigFile;
  return path.substr(0, path.find_last_of(L'\\'));
}

HMODULE LoadInstalledModule(const wchar_t* file) {
  return LoadLibraryW((InstalledDriverFolder() + L"\\" + file).c_str());
}

DifmApi InstalledDifm() {
  DifmApi api;
  HMODULE h = LoadInstalledModule(L"VQ312DI.dll");
  if (!h) return api;
#define VQ_RESOLVE(name, ret, params) \
  api.name = reinterpret_cast<ret(*) params>(reinterpret_cast<void*>(GetProcAddress(h, #name)));
  VQ_DIFM_FUNCTIONS(VQ_RESOLVE)
#undef VQ_RESOLVE
  return api;
}

std::wstring InstalledMessageText(uint32_t id) {
  static const DifmApi difm = InstalledDifm();
  static const DifmHandle h = difm.DifmMapper ? difm.DifmMapper(kDifmMagic, u"Morva VT-Q3120") : 0;
  char16_t text[2048] = {}, caption[256] = {};
  uint32_t tb = sizeof text - 2, cb = sizeof caption - 2, flags = 0;
  if (!h || !difm.DifmGetRealDataMsg(h, id, text, &tb, caption, &cb, &flags)) return {};
  return reinterpret_cast<const wchar_t*>(text);
}

std::vector<unsigned char> StoredDevMode(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> buf(needed ? needed : 1);
  if (!GetPrinterW(printer, 2, buf.data(), needed, &needed)) return {};
  const DEVMODEW* dm = reinterpret_cast<const PRINTER_INFO_2W*>(buf.data())->pDevMode;
  if (!dm) return {};
  const auto* b = reinterpret_cast<const unsigned char*>(dm);
  return {b, b + dm->dmSize + dm->dmDriverExtra};
}

bool ReadValue(HANDLE printer, const wchar_t* name, std::vector<unsigned char>* bytes,
               DWORD* type) {
  DWORD needed = 0;
  DWORD rc = GetPrinterDataW(printer, const_cast<wchar_t*>(name), type, nullptr, 0, &needed);
  if (rc != ERROR_MORE_DATA && rc != ERROR_SUCCESS) return false;
  bytes->resize(needed);
  rc = GetPrinterDataW(printer, const_cast<wchar_t*>(name), type, bytes->data(), needed, &needed);
  return rc == ERROR_SUCCESS;
}

LONG DocumentProperties(HANDLE printer, const void* in, JobSettings* out, DWORD mode) {
  return DocumentPropertiesW(nullptr, printer, const_cast<wchar_t*>(kPrinterName),
                             reinterpret_cast<DEVMODEW*>(out),
                             static_cast<DEVMODEW*>(const_cast<void*>(in)), mode);
}

}  // namespace vq::wine
