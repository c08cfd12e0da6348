// An in-memory spooler: printers with their data values and stored device
// modes, as winspool keeps them. Native tests and fuzzers run the driver's
// logic against it; tests can refuse access or fail chosen writes to walk the
// failure paths.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "settings/printer_store.h"

namespace vq {

struct MemoryPrinter {
  struct Value {
    uint32_t type = 0;
    std::vector<unsigned char> bytes;
  };
  std::map<std::u16string, Value> values;
  std::vector<unsigned char> devMode;  // Wine keeps one: levels 2 and 9 alike
  std::vector<unsigned char> userDevMode;  // when set, level 9 answers with it instead
  std::u16string configFile;           // full path of the UI module
  std::u16string helpFile;
  bool denyAdmin = false;              // refuse PRINTER_ALL_ACCESS
  std::set<std::u16string> failWrites; // value names whose writes fail
  size_t reads = 0;                    // GetData calls, for tests that count them
  size_t writes = 0;
  std::vector<std::u16string> writeLog;  // every SetData call's value name, in order

  void SetDword(const std::u16string& name, uint32_t v);
  void SetBinary(const std::u16string& name, const void* data, size_t size);
  bool Has(const std::u16string& name) const { return values.count(name) != 0; }
};

class MemorySpooler : public Spooler {
 public:
  // Adds (or replaces) a printer and returns it for the test to fill.
  MemoryPrinter& Add(const std::u16string& name);
  MemoryPrinter* Find(const std::u16string& name);
  std::unique_ptr<PrinterStore> Open(const char16_t* name, uint32_t access) override;

 private:
  std::map<std::u16string, std::shared_ptr<MemoryPrinter>> printers_;
};

// A store over one MemoryPrinter, for code that wants a handle directly.
std::unique_ptr<PrinterStore> OpenMemoryPrinter(std::shared_ptr<MemoryPrinter> printer);

}  // namespace vq
