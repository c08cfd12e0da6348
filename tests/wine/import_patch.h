// Test seam for spooler calls Wine cannot answer the way Windows would: a
// module's import of one function, replaced in that module's import address
// table while the patch lives. Only calls the module makes through its
// imports see the replacement; the rest of the process is untouched.
#pragma once

#include <windows.h>

namespace vq::wine {

class ImportPatch {
 public:
  // dll: the imported module's name as the import table spells it (compared
  // without case), e.g. "winspool.drv".
  ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  explicit operator bool() const { return slot_ != nullptr; }
  // What the slot held before: the real function.
  void* original() const { return original_; }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace vq::wine
