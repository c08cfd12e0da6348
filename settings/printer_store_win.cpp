#include "settings/printer_store_win.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>

namespace vq {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "WCHAR and char16_t share their bytes");

Win32PrinterStore::~Win32PrinterStore() {
  if (owned_ && h_) ClosePrinter(h_);
}

uint32_t Win32PrinterStore::GetData(const char16_t* name, uint32_t* type, void* data,
                                    uint32_t size, uint32_t* needed) {
  DWORD t = 0, n = 0;
  const DWORD rc = GetPrinterDataW(h_, const_cast<wchar_t*>(W(name)), &t,
                                   static_cast<BYTE*>(data), size, &n);
  if (type) *type = t;
  if (needed) *needed = n;
  return rc;
}

uint32_t Win32PrinterStore::SetData(const char16_t* name, uint32_t type, const void* data,
                                    uint32_t size) {
  return SetPrinterDataW(h_, const_cast<wchar_t*>(W(name)), type,
                         static_cast<BYTE*>(const_cast<void*>(data)), size);
}

std::vector<unsigned char> GetPrinterInfo(HANDLE printer, DWORD level) {
  DWORD needed = 0;
  GetPrinterW(printer, level, nullptr, 0, &needed);
  std::vector<unsigned char> info;
  if (needed == 0) return info;
  info.resize(needed);
  if (!GetPrinterW(printer, level, info.data(), needed, &needed)) info.clear();
  return info;
}

bool Win32PrinterStore::GetDevMode(uint32_t level, std::vector<unsigned char>* out) {
  if (!h_ || (level != 2 && level != 9)) return false;
  const std::vector<unsigned char> info = GetPrinterInfo(h_, level);
  if (info.empty()) return false;
  const DEVMODEW* dm = level == 2 ? reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pDevMode
                                  : reinterpret_cast<const PRINTER_INFO_9W*>(info.data())->pDevMode;
  if (!dm) return false;
  // The spooler's copy lies inside the buffer it filled; never read past it.
  const auto* begin = reinterpret_cast<const unsigned char*>(dm);
  const size_t room = info.data() + info.size() - begin;
  const size_t size = std::min<size_t>(size_t{dm->dmSize} + dm->dmDriverExtra, room);
  out->assign(begin, begin + size);
  return true;
}

bool Win32PrinterStore::SetDevMode(const void* devmode, uint32_t) {
  std::vector<unsigned char> info = GetPrinterInfo(h_, 2);
  if (info.empty()) return false;
  auto* pi = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  pi->pDevMode = static_cast<DEVMODEW*>(const_cast<void*>(devmode));
  pi->pSecurityDescriptor = nullptr;  // leave the printer's security as it is
  return SetPrinterW(h_, 2, info.data(), 0) != FALSE;
}

bool Win32PrinterStore::GetDriverFiles(std::u16string* driverPath, std::u16string* helpFile) {
  if (!haveDriverFiles_) {
    // A buffer that holds this driver's record at once spares the sizing call.
    std::vector<unsigned char> buf(4096);
    DWORD needed = 0;
    if (!GetPrinterDriverW(h_, nullptr, 3, buf.data(), static_cast<DWORD>(buf.size()), &needed)) {
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return false;
      buf.resize(needed);
      if (!GetPrinterDriverW(h_, nullptr, 3, buf.data(), needed, &needed)) return false;
    }
    const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(buf.data());
    if (!di->pDriverPath) return false;
    driverPath_ = U(di->pDriverPath);
    helpFile_ = di->pHelpFile ? U(di->pHelpFile) : u"";
    haveDriverFiles_ = true;
  }
  *driverPath = driverPath_;
  *helpFile = helpFile_;
  return true;
}

std::unique_ptr<PrinterStore> Win32Spooler::Open(const char16_t* name, uint32_t access) {
  HANDLE h = nullptr;
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
  if (!name || !OpenPrinterW(const_cast<wchar_t*>(W(name)), &h, access ? &defaults : nullptr))
    return nullptr;
  return std::make_unique<Win32PrinterStore>(h, true);
}

}  // namespace vq
