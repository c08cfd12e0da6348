// `vq312ctl media`: the printer's media table listed, and custom media types
// added, replaced and deleted through the same checks as the custom media
// type editor, without a window. Questions the editor asks (values above
// the class defaults, replacing, deleting) are answered Yes only with
// --yes; without it a question refuses, so a script never replaces or
// deletes by accident.
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "pages/basic/favourites.h"
#include "pages/utility/media_editor.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "tools/vq312ctl/ctl.h"
#include "tools/vq312ctl/describe.h"

namespace vq::ctl {
namespace {

constexpr char kMediaUsage[] =
    "usage: vq312ctl media [--printer NAME] list\n"
    "       vq312ctl media [--printer NAME] add NAME CLASS V1 .. V8 [--yes]\n"
    "       vq312ctl media [--printer NAME] delete ID [--yes]\n"
    "  CLASS 1 paper, 2 glossy paper, 4 film; V1..V8 the ink amounts 0..100 in the\n"
    "  record's order: standard black cyan magenta yellow, then fine black cyan\n"
    "  magenta yellow. --yes answers the editor's questions Yes\n";

// What each refusal and question of the editor says, for the console.
const char* Meaning(uint32_t message) {
  switch (message) {
    case media::kMsgNoName: return "a name is needed (spaces alone are no name)";
    case media::kMsgStarName: return "a new name cannot begin with \"*\"";
    case media::kMsgFull: return "100 custom media types exist already";
    case media::kMsgBuiltInName: return "the name belongs to a built-in media type";
    case media::kMsgNoInk: return "every ink amount is 0: nothing would print";
    case media::kMsgAskAdd: return "add it?";
    case media::kMsgAskAddAboveDefaults: return "some amounts are above the class defaults; add it?";
    case media::kMsgAskReplace: return "it exists; replace it?";
    case media::kMsgAskReplaceAboveDefaults:
      return "it exists and some new amounts are above the class defaults; replace it?";
    case media::kMsgAskDelete: return "delete it?";
    case media::kMsgAskDeleteUsedByFavourites:
      return "favourites use it and will take the default media type; delete it?";
    case media::kMsgMediaInUse:
      return "it is the media type of the printer's default or current settings";
    case media::kMsgWriteFailed: return "the media table could not be written";
    default: return "refused";
  }
}

std::string NameOf(const MediaData& m) { return Utf8(media::NameOf(m)); }

int List(const std::vector<MediaData>& table) {
  Print("%zu media types (%zu custom, up to %u)\n", table.size(), media::CountCustom(table),
        media::kMaxCustomMedia);
  for (const MediaData& m : table) {
    Print("  %4u  %-34s %-8s class %u  standard K%u C%u M%u Y%u  fine K%u C%u M%u Y%u", m.mediaId,
          NameOf(m).c_str(), media::IsCustom(m) ? "custom" : "built-in", m.mediaClass, m.ink[0],
          m.ink[1], m.ink[2], m.ink[3], m.ink[4], m.ink[5], m.ink[6], m.ink[7]);
    if (m.profileNumber) Print("  profile %u", m.profileNumber);
    Print("\n");
  }
  return 0;
}

bool ParseNumber(const std::wstring& text, uint32_t max, uint32_t* out) {
  wchar_t* end = nullptr;
  const unsigned long v = std::wcstoul(text.c_str(), &end, 10);
  if (text.empty() || *end || text[0] == L'-' || v > max) return false;
  *out = uint32_t(v);
  return true;
}

// A question of the editor: Yes only with --yes (a plain "add it?" is what
// the command asked for).
bool Answer(uint32_t message, bool yes) {
  const bool asked = message == media::kMsgAskAdd || yes;
  Print("%s%s\n", Meaning(message), asked ? "  -> yes" : "  -> no (give --yes)");
  return asked;
}

JobSettings DefaultRecord() {
  JobSettings defaults{};
  SetDefaultJobSettings(&defaults, Services());
  return defaults;
}

int Add(PrinterStore* store, std::vector<MediaData>& table, const std::vector<std::wstring>& words,
        bool yes) {
  uint32_t classValue = 0;
  media::InkValues values{};
  bool ok = words.size() == 11 && ParseNumber(words[2], 4, &classValue) &&
            media::ClassIndex(classValue) >= 0;
  for (size_t i = 0; ok && i < values.size(); ++i) ok = ParseNumber(words[3 + i], media::kValueMax, &values[i]);
  if (!ok) {
    Print("vq312ctl: CLASS is 1, 2 or 4 and each of the eight values 0..100\n%s", kMediaUsage);
    return 2;
  }
  // Tabs go as in the editor's name field; a name too long is refused
  // rather than cut, since a script would not see the cut.
  const std::u16string name =
      media::CleanNameText(std::u16string(words[1].begin(), words[1].end()), SIZE_MAX);
  const int32_t quality = DefaultRecord().dmPrintQuality;
  const media::SavePlan plan = media::PlanSave(table, name, classValue, values, quality);
  if (plan.step == media::SaveStep::kTooLong) {
    Print("vq312ctl: a name has at most %u characters\n", media::kNameChars);
    return 1;
  }
  if (plan.step != media::SaveStep::kAskAdd && plan.step != media::SaveStep::kAskReplace) {
    Print("vq312ctl: not stored: %s\n", Meaning(plan.message));
    return 1;
  }
  if (!Answer(plan.message, yes)) return 1;
  const uint32_t id = plan.step == media::SaveStep::kAskAdd ? plan.newId : table[size_t(plan.index)].mediaId;
  if (!media::ApplySave(store, &table, plan, name, classValue, values)) {
    Print("vq312ctl: %s\n", Meaning(media::kMsgWriteFailed));
    return 1;
  }
  Print("%s media %u \"%s\"\n", plan.step == media::SaveStep::kAskAdd ? "Added" : "Replaced", id,
        Utf8(name).c_str());
  return 0;
}

int Delete(PrinterStore* store, std::vector<MediaData>& table, const std::vector<std::wstring>& words,
           bool yes) {
  uint32_t id = 0;
  if (words.size() != 2 || !ParseNumber(words[1], 0xFFFFFFFF, &id)) {
    Print(kMediaUsage);
    return 2;
  }
  const int index = media::FindById(table, id);
  if (index < 0) {
    Print("vq312ctl: no media %u\n", id);
    return 1;
  }
  const JobSettings defaults = DefaultRecord();
  std::vector<uint32_t> inUse = {defaults.MediaTypeId};
  JobSettings printerDefault{};
  uint32_t needed = 0;
  if (GetPrinterDefaultSettings(store, &printerDefault, &needed)) inUse.push_back(printerDefault.MediaTypeId);
  auto favourites = std::make_unique<FavouriteSet>();
  const bool haveFavourites = ReadFavourites(store, favourites.get());
  const media::DeletePlan plan =
      media::PlanDelete(table, index, inUse, haveFavourites ? favourites.get() : nullptr);
  if (plan.step == media::DeleteStep::kBuiltIn) {
    Print("vq312ctl: media %u is built in and cannot be deleted\n", id);
    return 1;
  }
  if (plan.step != media::DeleteStep::kAsk && plan.step != media::DeleteStep::kAskUsedByFavourites) {
    Print("vq312ctl: not deleted: %s\n", Meaning(plan.message));
    return 1;
  }
  if (!Answer(plan.message, yes)) return 1;
  const std::string name = NameOf(table[size_t(index)]);
  if (media::ApplyDelete(store, &table, index, defaults.MediaTypeId, defaults.MediaClass) !=
      media::DeleteResult::kDeleted) {
    Print("vq312ctl: %s; nothing was changed\n", Meaning(media::kMsgWriteFailed));
    return 1;
  }
  Print("Deleted media %u \"%s\"\n", id, name.c_str());
  return 0;
}

}  // namespace

int RunMedia(int argc, wchar_t** argv) {
  ListAddDelete command;
  if (!ReadListAddDelete(argc, argv, &command)) {
    Print(kMediaUsage);
    return 2;
  }
  const Options& options = command.options;
  const std::vector<std::wstring>& words = command.words;
  const bool yes = command.yes;
  Win32Spooler spooler;
  const uint32_t access = words[0] == L"list" ? kPrinterAccessUse : kPrinterAllAccess;
  const auto store = spooler.Open(reinterpret_cast<const char16_t*>(options.printer.c_str()), access);
  std::vector<MediaData> table;
  const media::TableStatus status =
      store ? media::LoadMediaTable(store.get(), &table) : media::TableStatus::kBadCount;
  if (!store || status != media::TableStatus::kOk) {
    Print("vq312ctl: the media table of \"%s\" cannot be read: %s\n", Narrow(options.printer).c_str(),
          store ? media::TableStatusText(status)
                : access == kPrinterAllAccess ? "administrator rights are needed to change it"
                                              : "no such printer");
    return 1;
  }
  if (words[0] == L"list") return List(table);
  return words[0] == L"add" ? Add(store.get(), table, words, yes) : Delete(store.get(), table, words, yes);
}

}  // namespace vq::ctl
