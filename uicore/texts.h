// Texts by number, the parts that need no window: fetching a text from the
// device-information module the two-call way, copying it into a caller's
// buffer, walking control-to-text tables and reading a text's conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "devinfo/difm_api.h"
#include "uicore/layout.h"

namespace vq {

// Text `id` from the module: a size query, then a fetch into size + 2 zeroed
// bytes. false when the module or the handle is missing or memory runs out;
// a number the module does not know gives an empty text.
bool FetchText(const DifmApi& api, DifmHandle h, uint32_t id, std::u16string* out);

// The text fetch of LoadTextById and LoadOneString2: the whole buffer is
// zeroed, then min(bufferBytes, text bytes + 2) bytes of the text and its
// terminator are copied. A text longer than the buffer is cut to the byte
// and then ends without a terminator. false for a null handle or when memory
// runs out.
bool LoadTextInto(const DifmApi& api, DifmHandle h, uint32_t id, void* buffer,
                  uint32_t bufferBytes);

// The row of `controlId` in a control-to-text table (ends at control id 0),
// or null.
const TextRow* FindTextRow(const TextRow* table, uint32_t controlId);

// The conversion letters of a printf-style text in order ("%s ... %d" gives
// "sd"); "%%" is no conversion. A "%" that no conversion letter follows gives
// "?", so a broken format cannot pass for a plain text.
std::string FormatConversions(std::u16string_view text);

}  // namespace vq
