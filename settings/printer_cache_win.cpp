#include "settings/printer_cache_win.h"

#include <winspool.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "settings/printer_store_win.h"

namespace vq {
namespace {

// A store that reopens its printer once when the spooler stops accepting
// the handle it holds.
class ReopeningStore final : public PrinterStore {
 public:
  explicit ReopeningStore(std::wstring name) : name_(std::move(name)) { Reopen(); }
  ~ReopeningStore() override {
    if (h_) ClosePrinter(h_);
  }
  bool ok() const { return h_ != nullptr; }

  uint32_t GetData(const char16_t* name, uint32_t* type, void* data, uint32_t size,
                   uint32_t* needed) override {
    uint32_t rc = Store().GetData(name, type, data, size, needed);
    if (Stale(rc) && Reopen()) rc = Store().GetData(name, type, data, size, needed);
    return rc;
  }
  uint32_t SetData(const char16_t* name, uint32_t type, const void* data, uint32_t size) override {
    uint32_t rc = Store().SetData(name, type, data, size);
    if (Stale(rc) && Reopen()) rc = Store().SetData(name, type, data, size);
    return rc;
  }
  bool GetDevMode(uint32_t level, std::vector<unsigned char>* out) override {
    return Store().GetDevMode(level, out) || (Reopen() && Store().GetDevMode(level, out));
  }
  bool SetDevMode(const void* devmode, uint32_t size) override {
    return Store().SetDevMode(devmode, size);
  }
  bool GetDriverFiles(std::u16string* driverPath, std::u16string* helpFile) override {
    return Store().GetDriverFiles(driverPath, helpFile);
  }

 private:
  static bool Stale(uint32_t rc) {
    return rc == ERROR_INVALID_HANDLE || rc == ERROR_INVALID_PRINTER_NAME ||
           rc == ERROR_PRINTER_DELETED;
  }
  Win32PrinterStore Store() const { return Win32PrinterStore(h_, false); }
  bool Reopen() {
    HANDLE h = nullptr;
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    if (!OpenPrinterW(const_cast<wchar_t*>(name_.c_str()), &h, &defaults)) return false;
    if (h_) ClosePrinter(h_);
    h_ = h;
    return true;
  }

  std::wstring name_;
  HANDLE h_ = nullptr;
};

std::mutex g_lock;
std::map<std::wstring, std::unique_ptr<ReopeningStore>, std::less<>> g_printers;

}  // namespace

PrinterStore* PrinterByName(const wchar_t* name) {
  if (!name || !*name) return nullptr;
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_printers.find(std::wstring_view(name));
  if (it == g_printers.end()) {
    auto store = std::make_unique<ReopeningStore>(name);
    if (!store->ok()) return nullptr;
    it = g_printers.emplace(name, std::move(store)).first;
  }
  return it->second.get();
}

}  // namespace vq
