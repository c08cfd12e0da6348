// The interface of the device-information module VQ312DI.dll: paper and media
// tables, limits, resolutions, colour lists, install defaults and every text.
//
// The functions have C linkage and only fixed-width argument types, so the
// same declarations serve the DLL's exports (x64 has a single calling
// convention) and the native build, where the module's code is linked
// straight into the tests. Callers reach the functions through a DifmApi
// table: filled by GetProcAddress on Windows, by taking addresses natively,
// or by a test that wants to simulate a broken module.
//
// Two-call rule: with a null buffer a query returns the element count (or the
// byte size for texts); given count x element size bytes it fills them.
#pragma once

#include <cstdint>

extern "C" {

using DifmHandle = void*;

inline constexpr uint32_t kDifmMagic = 127;

// Ids of DifmLoadDefValues: the built-in defaults a record starts from.
namespace def_value {
inline constexpr uint32_t kResolution = 1006;    // two u32: horizontal, vertical dpi
inline constexpr uint32_t kDefaultPaper = 2030;  // u32: the paperId of a new record
}  // namespace def_value
inline constexpr uint32_t kDifmNameEntrySize = 64;  // colour-list entries: UTF-16 name first

// X(name, return type, parameter list)
#define VQ_DIFM_FUNCTIONS(X)                                                                   \
  X(DifmMapper, DifmHandle, (uint32_t magic, const char16_t* printerName))                     \
  X(DifmUnMapper, int32_t, (uint32_t magic, DifmHandle h))                                     \
  X(DifmGetRealDataStr, int32_t, (DifmHandle h, uint32_t id, char16_t* buf, uint32_t* bytes))  \
  X(DifmGetRealDataMsg, int32_t,                                                               \
    (DifmHandle h, uint32_t id, char16_t* text, uint32_t* textBytes, char16_t* caption,        \
     uint32_t* captionBytes, uint32_t* mbFlags))                                               \
  X(DifmLoadDefValues, int32_t, (DifmHandle h, uint32_t id, void* buf, uint32_t bytes))        \
  X(DifmLoadRegData, int32_t, (DifmHandle h, uint32_t id, void* buf, uint32_t bytes))          \
  X(DifmGetPaperInfo, int32_t, (DifmHandle h, void* buf, uint32_t paperId))                    \
  X(DifmGetMediaDataCnt, int32_t, (DifmHandle h))                                              \
  X(DifmGetMediaData, int32_t, (DifmHandle h, void* buf))                                      \
  X(DifmGetEnumResolutionsInf, int32_t, (DifmHandle h, int32_t* pairs))                        \
  X(DifmGetCopiesInf, int32_t, (DifmHandle h))                                                 \
  X(DifmGetCollateInf, int32_t, (DifmHandle h))                                                \
  X(DifmGetTrueTypeInf, int32_t, (DifmHandle h))                                               \
  X(DifmGetDuplexInf, int32_t, (DifmHandle h))                                                 \
  X(DifmGetOrientationInf, int32_t, (DifmHandle h))                                            \
  X(DifmGetPrintRateInf, int32_t, (DifmHandle h))                                              \
  X(DifmGetPrintRatePPMInf, int32_t, (DifmHandle h))                                           \
  X(DifmGetPrintRateUnitInf, int32_t, (DifmHandle h))                                          \
  X(DifmGetPrinterMemInf, int32_t, (DifmHandle h))                                             \
  X(DifmGetStapleInf, int32_t, (DifmHandle h))                                                 \
  X(DifmGetColorDeviceInf, int32_t, (DifmHandle h))                                            \
  X(DifmGetBinNamesInf, int32_t, (DifmHandle h, void* out))                                    \
  X(DifmGetDeviceCapsMinExtentInf, int32_t, (DifmHandle h, void* out))                         \
  X(DifmGetDeviceCapsMaxExtentInf, int32_t, (DifmHandle h, void* out))                         \
  X(DifmGetNupInf, int32_t, (DifmHandle h, void* out))                                         \
  X(DifmGetColorMophingInf, int32_t, (DifmHandle h, void* buf))                                \
  X(DifmGetColorMophingMcc3Inf, int32_t, (DifmHandle h, void* buf))                            \
  X(DifmGetGammaInf, int32_t, (DifmHandle h, void* buf))                                       \
  X(DifmGetTargetTypeInf, int32_t, (DifmHandle h, void* buf))                                  \
  X(DifmGetResolutionInf, int32_t, (DifmHandle h, void* buf))                                  \
  X(DifmGetHalftoneInf, int32_t, (DifmHandle h, void* buf))                                    \
  X(DifmGetGammaMcc3Inf, int32_t, (DifmHandle h, void* buf))                                   \
  X(DifmGetCurveMcc3Inf, int32_t, (DifmHandle h, void* buf))                                   \
  X(DifmGetMatchingMcc3Inf, int32_t, (DifmHandle h, void* buf))

#define VQ_DIFM_DECLARE(name, ret, params) ret name params;
VQ_DIFM_FUNCTIONS(VQ_DIFM_DECLARE)
#undef VQ_DIFM_DECLARE

}  // extern "C"

namespace vq {

struct DifmApi {
#define VQ_DIFM_POINTER(name, ret, params) ret(*name) params = nullptr;
  VQ_DIFM_FUNCTIONS(VQ_DIFM_POINTER)
#undef VQ_DIFM_POINTER

  // True when every function is present.
  bool Complete() const;
};

// The module's own functions, for a build that links them in directly.
DifmApi LinkedDifmApi();

// One mapping of the module, released when the object goes. Callers that
// must report a failed unmapping call Unmap() themselves.
class DifmMapping {
 public:
  DifmMapping(const DifmApi& api, const char16_t* printerName);
  ~DifmMapping();
  DifmMapping(const DifmMapping&) = delete;
  DifmMapping& operator=(const DifmMapping&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  DifmHandle get() const { return handle_; }
  const DifmApi& api() const { return api_; }
  bool Unmap();

 private:
  const DifmApi& api_;
  DifmHandle handle_;
};

}  // namespace vq
