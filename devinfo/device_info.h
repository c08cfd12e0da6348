// Inside view of the device-information module: its text catalogue and the
// language choice. Callers of the module use difm_api.h only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vq {

enum class Language { kEnglish = 0, kChinese = 1 };
inline constexpr int kLanguageCount = 2;

// The text of a number in a language; empty when the number has no text.
std::u16string_view LookUpText(uint32_t id, Language language);

// Where a new mapping learns the user's UI language (Windows: the user's
// default UI language). Without a source every mapping is English.
void SetDifmLanguageSource(Language (*source)());

// Walks of the catalogue, for tests that check every entry in both languages.
size_t DifmTextCount();
uint32_t DifmTextIdAt(size_t i);
size_t DifmMessageCount();
uint32_t DifmMessageIdAt(size_t i);

}  // namespace vq
