// The text catalogue against what the pages and dialogs ask for, the
// portable text routines, and the help sources against the topics the pages
// open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "devinfo/device_info.h"
#include "devinfo/difm_api.h"
#include "devinfo/text_ids.h"
#include "settings/job_settings.h"
#include "uicore/help_topics.h"
#include "uicore/texts.h"

namespace vq::test {
namespace {

using text_ids::kDialogs;
using text_ids::MessageUse;
using text_ids::Reply;

constexpr Language kLanguages[] = {Language::kEnglish, Language::kChinese};
constexpr uint32_t kFirstOwnText = 20000;  // the module's own lists, no page's
constexpr uint32_t kModelNameTexts[] = {4757, 4761};

std::string Utf8(std::u16string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size())
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | c >> 6), out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | c >> 12), out += char(0x80 | (c >> 6 & 0x3F));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | c >> 18), out += char(0x80 | (c >> 12 & 0x3F));
      out += char(0x80 | (c >> 6 & 0x3F)), out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

Language g_language = Language::kEnglish;

// A mapping of the device module in one language.
DifmHandle MapIn(Language language) {
  g_language = language;
  SetDifmLanguageSource([] { return g_language; });
  DifmHandle h = DifmMapper(kDifmMagic, kModelName);
  SetDifmLanguageSource(nullptr);
  return h;
}

struct Message {
  bool found = false;
  std::u16string text, caption;
  uint32_t style = 0;
};

Message FetchMessage(Language language, uint32_t id) {
  DifmHandle h = MapIn(language);
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

std::vector<uint32_t> CatalogueTexts() {
  std::vector<uint32_t> ids;
  for (size_t i = 0; i < DifmTextCount(); ++i) ids.push_back(DifmTextIdAt(i));
  return ids;
}

std::vector<uint32_t> CatalogueMessages() {
  std::vector<uint32_t> ids;
  for (size_t i = 0; i < DifmMessageCount(); ++i) ids.push_back(DifmMessageIdAt(i));
  return ids;
}

// Every message use of every dialog, by message number.
std::multimap<uint32_t, std::pair<const char*, MessageUse>> MessageUses() {
  std::multimap<uint32_t, std::pair<const char*, MessageUse>> uses;
  for (const auto& dialog : kDialogs)
    for (const MessageUse& use : dialog.messages) uses.insert({use.id, {dialog.name, use}});
  return uses;
}

uint32_t ButtonsFor(Reply reply) {
  switch (reply) {
    case Reply::kOk: return 0x0;           // MB_OK
    case Reply::kOkCancel: return 0x1;     // MB_OKCANCEL
    case Reply::kYesNo: return 0x4;        // MB_YESNO
    case Reply::kRetryCancel: return 0x5;  // MB_RETRYCANCEL
  }
  return 0xF;
}

bool HasCjk(std::u16string_view s) {
  return std::any_of(s.begin(), s.end(), [](char16_t c) { return c >= 0x4E00 && c <= 0x9FFF; });
}

bool HasWord(std::u16string_view s) {
  for (size_t i = 1; i < s.size(); ++i)
    if (std::isalpha(s[i - 1] < 0x80 ? s[i - 1] : 0) && std::isalpha(s[i] < 0x80 ? s[i] : 0))
      return true;
  return false;
}

TEST(TextCatalogue, EveryIdOfEveryDialogHasItsTextsInBothLanguages) {
  for (const auto& dialog : kDialogs) {
    SCOPED_TRACE(dialog.name);
    for (auto ids : {dialog.labels, dialog.texts, dialog.help})
      for (uint32_t id : ids)
        for (Language language : kLanguages)
          EXPECT_FALSE(LookUpText(id, language).empty())
              << "text " << id << " in language " << int(language);
    for (const MessageUse& use : dialog.messages) {
      for (Language language : kLanguages) {
        SCOPED_TRACE(testing::Message() << "message " << use.id << " in language "
                                        << int(language));
        const Message m = FetchMessage(language, use.id);
        EXPECT_TRUE(m.found);
        EXPECT_FALSE(m.text.empty());
        EXPECT_FALSE(m.caption.empty()) << "a message box needs a caption";
        EXPECT_NE(m.style & 0xF0u, 0u) << "no icon in style " << std::hex << m.style;
      }
    }
  }
}

TEST(TextCatalogue, MessagesOfferTheAnswerTheirCallersWaitFor) {
  const auto uses = MessageUses();
  for (const auto& [id, where] : uses) {
    const auto& [dialog, use] = where;
    SCOPED_TRACE(testing::Message() << "message " << id << " in the " << dialog);
    const auto first = uses.find(id)->second.second;
    EXPECT_TRUE(first.reply == use.reply && first.argument == use.argument)
        << "every caller of one message must wait for the same answer and pass the same "
           "argument";
    for (Language language : kLanguages) {
      const Message m = FetchMessage(language, id);
      EXPECT_EQ(m.style & 0xFu, ButtonsFor(use.reply)) << Utf8(m.text);
      const std::u16string_view text = m.text;
      if (use.reply == Reply::kYesNo)
        EXPECT_TRUE(text.ends_with(language == Language::kEnglish ? u"?" : u"？"))
            << "a yes/no box asks a question: " << Utf8(text);
    }
  }
}

// A "%s" in a message is filled only when its callers pass an argument; a
// message shown without one must carry no conversion, or the user would see it.
TEST(TextCatalogue, EveryMessageWithAPlaceholderGetsItsArgument) {
  const auto uses = MessageUses();
  for (uint32_t id : CatalogueMessages()) {
    SCOPED_TRACE(testing::Message() << "message " << id);
    const auto [begin, end] = uses.equal_range(id);
    ASSERT_NE(begin, end) << "no page or dialog shows this message";
    for (Language language : kLanguages) {
      const std::string conversions = FormatConversions(FetchMessage(language, id).text);
      for (auto it = begin; it != end; ++it)
        EXPECT_EQ(conversions, it->second.second.argument ? "s" : "")
            << "language " << int(language) << ", shown by the " << it->second.first;
    }
  }
}

TEST(TextCatalogue, EveryTextBelongsToAPageOrDialog) {
  std::set<uint32_t> used;
  for (const auto& dialog : kDialogs)
    for (auto ids : {dialog.labels, dialog.texts, dialog.help}) used.insert(ids.begin(), ids.end());
  for (uint32_t id : CatalogueTexts())
    if (id < kFirstOwnText) EXPECT_EQ(used.count(id), 1u) << "text " << id << " is in no table";
}

TEST(TextCatalogue, FormatsTakeTheirConversionsInBothLanguages) {
  std::map<uint32_t, std::string> formats;
  for (const auto& f : text_ids::kFormatTexts) formats[f.id] = f.conversions;
  for (uint32_t id : CatalogueTexts()) {
    const auto it = formats.find(id);
    const std::string want = it == formats.end() ? "" : it->second;
    for (Language language : kLanguages)
      EXPECT_EQ(FormatConversions(LookUpText(id, language)), want)
          << "text " << id << " in language " << int(language) << ": "
          << Utf8(LookUpText(id, language));
  }
  for (const auto& [id, conversions] : formats)
    EXPECT_FALSE(LookUpText(id, Language::kEnglish).empty()) << "format " << id;
  // Cut before "(", a text must still hold its first conversion and no other.
  for (uint32_t id : text_ids::kCutAtParenthesisTexts)
    for (Language language : kLanguages) {
      const std::u16string_view text = LookUpText(id, language);
      const size_t open = text.find(u'(');
      ASSERT_NE(open, std::u16string_view::npos) << "text " << id << " in language "
                                                 << int(language);
      EXPECT_EQ(FormatConversions(text.substr(0, open)), formats[id].substr(0, 1)) << id;
    }
}

TEST(TextCatalogue, AcceleratorsAreUniqueWithinADialogAndEnglishOnly) {
  for (const auto& dialog : kDialogs) {
    SCOPED_TRACE(dialog.name);
    std::map<char, uint32_t> taken;
    for (uint32_t id : dialog.labels) {
      const std::u16string_view en = LookUpText(id, Language::kEnglish);
      EXPECT_EQ(LookUpText(id, Language::kChinese).find(u'&'), std::u16string_view::npos)
          << "text " << id;
      const size_t amp = en.find(u'&');
      if (amp == std::u16string_view::npos) continue;
      ASSERT_LT(amp + 1, en.size()) << "text " << id << " ends with &";
      EXPECT_EQ(en.find(u'&', amp + 1), std::u16string_view::npos) << "text " << id;
      const char key = char(std::tolower(en[amp + 1] < 0x80 ? en[amp + 1] : '?'));
      const auto [it, fresh] = taken.insert({key, id});
      EXPECT_TRUE(fresh) << "texts " << it->second << " and " << id << " both use &" << key;
    }
  }
}

TEST(TextCatalogue, ChineseTextsAreTranslations) {
  std::vector<std::pair<uint32_t, std::pair<std::u16string, std::u16string>>> all;
  for (uint32_t id : CatalogueTexts())
    all.push_back({id, {std::u16string(LookUpText(id, Language::kEnglish)),
                        std::u16string(LookUpText(id, Language::kChinese))}});
  for (uint32_t id : CatalogueMessages())
    all.push_back({id, {FetchMessage(Language::kEnglish, id).text,
                        FetchMessage(Language::kChinese, id).text}});
  for (const auto& [id, texts] : all) {
    if (std::find(std::begin(kModelNameTexts), std::end(kModelNameTexts), id) !=
        std::end(kModelNameTexts))
      continue;
    if (HasWord(texts.first))
      EXPECT_TRUE(HasCjk(texts.second)) << id << ": " << Utf8(texts.second);
  }
}

class TextFetch : public ::testing::Test {
 protected:
  const DifmApi api = LinkedDifmApi();
  const DifmHandle h = MapIn(Language::kEnglish);
  static constexpr uint32_t kId = 4759;  // "Default settings": 32 bytes
  const std::u16string text{LookUpText(kId, Language::kEnglish)};
};

TEST_F(TextFetch, CutsToTheBufferAndZeroesTheRest) {
  const size_t whole = (text.size() + 1) * 2;  // with the terminator
  ASSERT_EQ(whole, 34u);
  constexpr unsigned char kGuard = 0xAB;
  for (uint32_t size : {0u, 1u, 2u, 10u, 32u, 33u, 34u, 40u}) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buf(size + 4, kGuard);
    ASSERT_TRUE(LoadTextInto(api, h, kId, buf.data(), size));
    const size_t copied = std::min<size_t>(size, whole);
    std::vector<unsigned char> want(buf.size(), kGuard);
    std::fill(want.begin(), want.begin() + size, 0);
    std::memcpy(want.data(), text.c_str(), copied);
    EXPECT_EQ(buf, want);
  }
}

TEST_F(TextFetch, NeedsAHandleAndTakesUnknownNumbersAsEmpty) {
  std::vector<unsigned char> buf(8, 0xAB);
  EXPECT_FALSE(LoadTextInto(api, nullptr, kId, buf.data(), 8));
  EXPECT_FALSE(LoadTextInto(DifmApi{}, h, kId, buf.data(), 8));
  EXPECT_EQ(buf, std::vector<unsigned char>(8, 0xAB)) << "a failed call writes nothing";
  EXPECT_TRUE(LoadTextInto(api, h, 1, buf.data(), 8)) << "there is no text 1";
  EXPECT_EQ(buf, std::vector<unsigned char>(8, 0));
  std::u16string out = u"x";
  EXPECT_TRUE(FetchText(api, h, kId, &out));
  EXPECT_EQ(out, text);
}

TEST(TextTables, RowsEndAtControlIdZero) {
  const TextRow table[] = {{10, 1}, {20, 2}, {0, 0}, {30, 3}};
  const TextRow empty[] = {{0, 0}, {10, 1}};
  EXPECT_EQ(FindTextRow(table, 20), &table[1]);
  EXPECT_EQ(FindTextRow(table, 30), nullptr) << "rows after the end row are not read";
  EXPECT_EQ(FindTextRow(table, 0), nullptr);
  EXPECT_EQ(FindTextRow(empty, 10), nullptr);
  EXPECT_EQ(FindTextRow(nullptr, 10), nullptr);
}

TEST(TextTables, FormatConversions) {
  const std::pair<std::u16string_view, const char*> cases[] = {
      {u"Delete \"%s\"?", "s"}, {u"100%% done", ""}, {u"%d%% (about %d min)", "dd"},
      {u"%04x", "x"},           {u"%ls, %-3d", "sd"}, {u"50%", "?"},
      {u"%q", "?"},             {u"", ""},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(FormatConversions(text), want) << Utf8(text);
}

// The help sources: every topic the pages open is a page of the project, in
// its file list and its table of contents.
class HelpSources : public ::testing::Test {
 protected:
  static std::string Read(const std::string& name) {
    std::ifstream in(std::string(VQ312_SOURCE_DIR) + "/help/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static std::set<std::string> ProjectFiles() {
    std::istringstream hhp(Read("vq312.hhp"));
    std::set<std::string> files;
    bool inFiles = false;
    for (std::string line; std::getline(hhp, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.starts_with('[')) inFiles = line == "[FILES]";
      else if (inFiles && !line.empty()) files.insert(line);
    }
    return files;
  }
};

TEST_F(HelpSources, EveryTopicIsAListedPageWithATitle) {
  const std::set<std::string> files = ProjectFiles();
  const std::string toc = Read("toc.hhc");
  ASSERT_FALSE(files.empty());
  for (const auto& topic : help::kTopics) {
    const std::wstring wide = topic.topic;
    ASSERT_TRUE(wide.starts_with(L"::/")) << topic.shownBy;
    const std::string file(wide.begin() + 3, wide.end());
    SCOPED_TRACE(file);
    EXPECT_EQ(files.count(file), 1u) << "not in [FILES] of vq312.hhp";
    EXPECT_NE(toc.find("value=\"" + file + "\""), std::string::npos) << "not in toc.hhc";
    const std::string page = Read(file);
    const size_t title = page.find("<title>");
    ASSERT_NE(title, std::string::npos) << "missing or without a title";
    EXPECT_GT(page.find("</title>"), title + 7) << "empty title";
    EXPECT_NE(page.find("<h1>"), std::string::npos);
  }
  for (const std::string& file : files) EXPECT_FALSE(Read(file).empty()) << file;
}

}  // namespace
}  // namespace vq::test
