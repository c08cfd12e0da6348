#include "settings/memory_store.h"

#include <cstring>

namespace vq {
namespace {

class MemoryStore final : public PrinterStore {
 public:
  explicit MemoryStore(std::shared_ptr<MemoryPrinter> p) : p_(std::move(p)) {}

  uint32_t GetData(const char16_t* name, uint32_t* type, void* data, uint32_t size,
                   uint32_t* needed) override {
    ++p_->reads;
    if (!name || !needed) return kErrorInvalidParameter;
    auto it = p_->values.find(name);
    if (it == p_->values.end()) return kErrorFileNotFound;
    const auto& v = it->second;
    if (type) *type = v.type;
    *needed = static_cast<uint32_t>(v.bytes.size());
    if (!data || size < v.bytes.size()) return kErrorMoreData;
    if (!v.bytes.empty()) std::memcpy(data, v.bytes.data(), v.bytes.size());
    return kErrorSuccess;
  }

  uint32_t SetData(const char16_t* name, uint32_t type, const void* data,
                   uint32_t size) override {
    ++p_->writes;
    if (!name || (!data && size)) return kErrorInvalidParameter;
    p_->writeLog.emplace_back(name);
    if (p_->failWrites.count(name)) return kErrorAccessDenied;
    auto& v = p_->values[name];
    v.type = type;
    v.bytes.assign(static_cast<const unsigned char*>(data),
                   static_cast<const unsigned char*>(data) + size);
    return kErrorSuccess;
  }

  bool GetDevMode(uint32_t level, std::vector<unsigned char>* out) override {
    const auto& dm = level == 9 && !p_->userDevMode.empty() ? p_->userDevMode : p_->devMode;
    if (dm.empty()) return false;
    *out = dm;
    return true;
  }

  bool SetDevMode(const void* devmode, uint32_t size) override {
    const auto* b = static_cast<const unsigned char*>(devmode);
    p_->devMode.assign(b, b + size);
    return true;
  }

  bool GetDriverFiles(std::u16string* configFile, std::u16string* helpFile) override {
    if (p_->configFile.empty()) return false;
    *configFile = p_->configFile;
    *helpFile = p_->helpFile;
    return true;
  }

 private:
  std::shared_ptr<MemoryPrinter> p_;
};

}  // namespace

void MemoryPrinter::SetDword(const std::u16string& name, uint32_t v) {
  values[name] = Value{kRegDword, std::vector<unsigned char>(4)};
  std::memcpy(values[name].bytes.data(), &v, 4);
}

void MemoryPrinter::SetBinary(const std::u16string& name, const void* data, size_t size) {
  const auto* b = static_cast<const unsigned char*>(data);
  values[name] = Value{kRegBinary, std::vector<unsigned char>(b, b + size)};
}

MemoryPrinter& MemorySpooler::Add(const std::u16string& name) {
  auto& slot = printers_[name];
  slot = std::make_shared<MemoryPrinter>();
  return *slot;
}

MemoryPrinter* MemorySpooler::Find(const std::u16string& name) {
  auto it = printers_.find(name);
  return it == printers_.end() ? nullptr : it->second.get();
}

std::unique_ptr<PrinterStore> MemorySpooler::Open(const char16_t* name, uint32_t access) {
  if (!name) return nullptr;
  auto it = printers_.find(name);
  if (it == printers_.end()) return nullptr;
  if (access == kPrinterAllAccess && it->second->denyAdmin) return nullptr;
  return std::make_unique<MemoryStore>(it->second);
}

std::unique_ptr<PrinterStore> OpenMemoryPrinter(std::shared_ptr<MemoryPrinter> printer) {
  return std::make_unique<MemoryStore>(std::move(printer));
}

}  // namespace vq
