#include "uicore/texts.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vq {

bool FetchText(const DifmApi& api, DifmHandle h, uint32_t id, std::u16string* out) {
  if (!api.DifmGetRealDataStr || !h) return false;
  try {
    uint32_t bytes = 0;
    api.DifmGetRealDataStr(h, id, nullptr, &bytes);
    // size + 2 zeroed bytes: the module writes at most `bytes`, so the text
    // always ends in a terminator here.
    std::u16string text(bytes / 2 + 1, u'\0');
    uint32_t size = bytes;
    api.DifmGetRealDataStr(h, id, text.data(), &size);
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    *out = std::move(text);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool LoadTextInto(const DifmApi& api, DifmHandle h, uint32_t id, void* buffer,
                  uint32_t bufferBytes) {
  std::u16string text;
  if (!FetchText(api, h, id, &text)) return false;
  if (!buffer) return true;
  std::memset(buffer, 0, bufferBytes);
  const size_t withTerminator = (text.size() + 1) * sizeof(char16_t);
  std::memcpy(buffer, text.c_str(), std::min<size_t>(bufferBytes, withTerminator));
  return true;
}

const TextRow* FindTextRow(const TextRow* table, uint32_t controlId) {
  if (!table || controlId == 0) return nullptr;
  for (const TextRow* row = table; row->controlId != 0; ++row)
    if (row->controlId == controlId) return row;
  return nullptr;
}

std::string FormatConversions(std::u16string_view text) {
  std::string letters;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'%') continue;
    if (++i < text.size() && text[i] == u'%') continue;
    // flags, width, precision and size prefixes as wsprintfW reads them
    while (i < text.size() && std::u16string_view(u"-+ #0123456789.hlLIw").find(text[i]) !=
                                  std::u16string_view::npos)
      ++i;
    const char16_t c = i < text.size() ? text[i] : u'\0';
    const bool conversion = c < 0x80 && std::string_view("cCdiuxXsSpeEfgG").find(char(c)) !=
                                            std::string_view::npos;
    letters += conversion ? char(c) : '?';
  }
  return letters;
}

}  // namespace vq
