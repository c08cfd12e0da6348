// The text catalogue against what the pages and dialogs ask for (devinfo/
// text_ids.h), in both languages. The help file's topics are checked in the
// compiled help file under Wine (tests/wine/help_test.cpp).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "devinfo/device_info.h"
#include "devinfo/difm_api.h"
#include "devinfo/text_ids.h"
#include "settings/job_settings.h"
#include "uicore/texts.h"

namespace vq::test {
namespace {

using text_ids::kDialogs;
using text_ids::MessageUse;

constexpr Language kLanguages[] = {Language::kEnglish, Language::kChinese};

struct Message {
  bool found = false;
  std::u16string text, caption;
  uint32_t style = 0;
};

// Message `id` through a mapping of the device module in `language`.
Message FetchMessage(Language language, uint32_t id) {
  static Language wanted;
  wanted = language;
  SetDifmLanguageSource([] { return wanted; });
  const DifmHandle h = DifmMapper(kDifmMagic, kModelName);
  SetDifmLanguageSource(nullptr);
  Message m;
  uint32_t textBytes = 0, captionBytes = 0;
  m.found = DifmGetRealDataMsg(h, id, nullptr, &textBytes, nullptr, &captionBytes, &m.style);
  m.text.assign(textBytes / 2 + 1, u'\0');
  m.caption.assign(captionBytes / 2 + 1, u'\0');
  DifmGetRealDataMsg(h, id, m.text.data(), &textBytes, m.caption.data(), &captionBytes,
                     &m.style);
  m.text.resize(textBytes / 2);
  m.caption.resize(captionBytes / 2);
  return m;
}

TEST(TextCatalogue, EveryTextAndMessageOfEveryDialogIsThereInBothLanguages) {
  // MB_OK, MB_YESNO, MB_OKCANCEL, MB_RETRYCANCEL: the buttons of each Reply.
  constexpr uint32_t kButtons[] = {0x0, 0x4, 0x1, 0x5};
  for (const auto& dialog : kDialogs) {
    for (Language language : kLanguages) {
      SCOPED_TRACE(testing::Message() << dialog.name << ", language " << int(language));
      for (auto ids : {dialog.labels, dialog.texts, dialog.help})
        for (uint32_t id : ids) EXPECT_FALSE(LookUpText(id, language).empty()) << "text " << id;
      for (const MessageUse& use : dialog.messages) {
        const Message m = FetchMessage(language, use.id);
        EXPECT_TRUE(m.found && !m.text.empty() && !m.caption.empty()) << "message " << use.id;
        EXPECT_NE(m.style & 0xF0u, 0u) << "message " << use.id << " has no icon";
        EXPECT_EQ(m.style & 0xFu, kButtons[int(use.reply)])
            << "message " << use.id << " must offer the answer its caller waits for";
      }
    }
  }
}

// A "%s" in a message is filled only when its callers pass an argument; a
// format text must take exactly the conversions its callers pass. Anything
// else would show a raw conversion, or read an argument that is not there.
TEST(TextCatalogue, ConversionsAgreeWithTheCallers) {
  std::multimap<uint32_t, std::pair<const char*, bool>> uses;  // message: dialog, argument
  for (const auto& dialog : kDialogs)
    for (const MessageUse& use : dialog.messages)
      uses.insert({use.id, {dialog.name, use.argument}});
  std::map<uint32_t, std::string> formats;
  for (const auto& f : text_ids::kFormatTexts) formats[f.id] = f.conversions;
  for (Language language : kLanguages) {
    SCOPED_TRACE(testing::Message() << "language " << int(language));
    for (size_t i = 0; i < DifmMessageCount(); ++i) {
      const uint32_t id = DifmMessageIdAt(i);
      const std::string conversions = FormatConversions(FetchMessage(language, id).text);
      EXPECT_TRUE(uses.count(id)) << "no page or dialog shows message " << id;
      for (auto [it, end] = uses.equal_range(id); it != end; ++it)
        EXPECT_EQ(conversions, it->second.second ? "s" : "")
            << "message " << id << " shown by the " << it->second.first;
    }
    for (size_t i = 0; i < DifmTextCount(); ++i) {
      const uint32_t id = DifmTextIdAt(i);
      EXPECT_EQ(FormatConversions(LookUpText(id, language)), formats[id]) << "text " << id;
    }
    // Cut before "(", a text must still hold its first conversion and no other.
    for (uint32_t id : text_ids::kCutAtParenthesisTexts) {
      const std::u16string_view text = LookUpText(id, language);
      EXPECT_EQ(FormatConversions(text.substr(0, text.find(u'('))), formats[id].substr(0, 1))
          << "text " << id;
    }
  }
}

// The oracle of the test above.
TEST(TextCatalogue, FormatConversionsReadsWhatWsprintfWould) {
  const std::pair<std::u16string_view, const char*> cases[] = {
      {u"Delete \"%s\"?", "s"}, {u"100%% done", ""}, {u"%d%% (about %d min)", "dd"},
      {u"%ls, %-3d", "sd"},     {u"50%", "?"},       {u"%q", "?"}};
  for (const auto& [text, want] : cases)
    EXPECT_EQ(FormatConversions(text), want) << std::string(text.begin(), text.end());
}

}  // namespace
}  // namespace vq::test
