// The printer data store over winspool.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/text_win.h"
#include "settings/printer_store.h"

namespace vq {

// A PrinterStore over a printer handle. A borrowed handle (the caller's) is
// left open; an owned one is closed with the store.
class Win32PrinterStore final : public PrinterStore {
 public:
  Win32PrinterStore(HANDLE printer, bool owned) : h_(printer), owned_(owned) {}
  ~Win32PrinterStore() override;
  Win32PrinterStore(const Win32PrinterStore&) = delete;
  Win32PrinterStore& operator=(const Win32PrinterStore&) = delete;

  HANDLE handle() const { return h_; }

  uint32_t GetData(const char16_t* name, uint32_t* type, void* data, uint32_t size,
                   uint32_t* needed) override;
  uint32_t SetData(const char16_t* name, uint32_t type, const void* data, uint32_t size) override;
  bool GetDevMode(uint32_t level, std::vector<unsigned char>* out) override;
  bool SetDevMode(const void* devmode, uint32_t size) override;
  bool GetDriverFiles(std::u16string* driverPath, std::u16string* helpFile) override;

 private:
  HANDLE h_;
  bool owned_;
  // The driver's files, asked of the spooler once per store: the sheets
  // want both the help file and the driver folder, and each question is a
  // walk through the spooler's driver records.
  bool haveDriverFiles_ = false;
  std::u16string driverPath_, helpFile_;
};

class Win32Spooler final : public Spooler {
 public:
  std::unique_ptr<PrinterStore> Open(const char16_t* name, uint32_t access) override;
};

// GetPrinterW at a level into a buffer sized by a first call; empty on failure.
std::vector<unsigned char> GetPrinterInfo(HANDLE printer, DWORD level);


}  // namespace vq
