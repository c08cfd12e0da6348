// Caller side of the device-information interface, shared by every module
// that talks to VQ312DI.
#include "devinfo/difm_api.h"

namespace vq {

bool DifmApi::Complete() const {
#define VQ_DIFM_PRESENT(name, ret, params) \
  if (!name) return false;
  VQ_DIFM_FUNCTIONS(VQ_DIFM_PRESENT)
#undef VQ_DIFM_PRESENT
  return true;
}

DifmMapping::DifmMapping(const DifmApi& api, const char16_t* printerName)
    : api_(api), handle_(api.DifmMapper ? api.DifmMapper(kDifmMagic, printerName) : nullptr) {}

DifmMapping::~DifmMapping() { Unmap(); }

bool DifmMapping::Unmap() {
  if (!handle_) return true;
  const bool ok = api_.DifmUnMapper(kDifmMagic, handle_) != 0;
  handle_ = nullptr;
  return ok;
}

}  // namespace vq
