#include "uicore/sheet_context_win.h"

#include "base/module_win.h"

namespace vq {

SheetContext* CurrentSheet() {
  return g_tlsSlot == TLS_OUT_OF_INDEXES ? nullptr
                                         : static_cast<SheetContext*>(TlsGetValue(g_tlsSlot));
}

BOOL SetCurrentSheet(SheetContext* ctx) {
  return g_tlsSlot != TLS_OUT_OF_INDEXES && TlsSetValue(g_tlsSlot, ctx);
}

}  // namespace vq
