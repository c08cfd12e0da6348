// `vq312ctl papers`: the printer's paper table listed, and user papers added
// and deleted through the same checks as the custom paper dialog, without a
// window. The checks' questions are answered Yes only with --yes; without
// it a question refuses, so a script never replaces or deletes by accident.
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "pages/basic/custom_paper.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "tools/vq312ctl/ctl.h"
#include "tools/vq312ctl/describe.h"

namespace vq::ctl {

namespace {

constexpr char kPapersUsage[] =
    "usage: vq312ctl papers [--printer NAME] list\n"
    "       vq312ctl papers [--printer NAME] add NAME WIDTH LENGTH [top=MM] [bottom=MM] [left=MM]\n"
    "                [right=MM] [gap=MM] [linerleft=MM] [linerright=MM] [--yes]\n"
    "       vq312ctl papers [--printer NAME] delete ID [--yes]\n"
    "  sizes in millimetres (one decimal); --yes answers the checks' questions Yes\n";

class ConsoleDialogue final : public CheckDialogue {
 public:
  explicit ConsoleDialogue(bool yes) : yes_(yes) {}
  bool Show(std::u16string_view text, uint32_t style) override {
    const bool question = (style & 0xF) == kMbYesNo;
    Print("%s%s\n", Utf8(text).c_str(), question ? (yes_ ? "  -> yes" : "  -> no (give --yes)") : "");
    return question && yes_;
  }
  bool ConfirmNewPaper(std::u16string_view) override { return true; }  // the command asked for it

 private:
  bool yes_;
};

std::string Mm(uint32_t v, uint32_t unit) {
  char text[32];
  if (unit) std::snprintf(text, sizeof text, "%u.%02u in", v / 100, v % 100);
  else std::snprintf(text, sizeof text, "%u.%u", v / 10, v % 10);
  return text;
}

std::string NameOf(const PaperInfo& p) {
  return Utf8(std::u16string_view(p.paperName, std::char_traits<char16_t>::length(p.paperName)));
}

bool ParseMm(const std::wstring& text, uint32_t* out) {
  wchar_t* end = nullptr;
  const double v = std::wcstod(text.c_str(), &end);
  if (end == text.c_str() || *end || !(v >= 0) || v > 10000) return false;
  *out = uint32_t(v * 10 + 0.5);
  return true;
}

struct Table {
  std::vector<PaperInfo> papers;
  uint32_t firstUser = 0, userMax = 0;
};

bool ReadTable(PrinterStore* store, Table* t) {
  t->papers = ReadPaperTable(store);
  return !t->papers.empty() && ReadPrinterDword(store, pd::kPaperSupCount, &t->firstUser) &&
         ReadPrinterDword(store, pd::kPaperUserMax, &t->userMax) && t->firstUser > 0 &&
         t->firstUser <= t->papers.size();
}

int List(const Table& t) {
  Print("%u papers (%u built in, up to %u user papers)\n", unsigned(t.papers.size()), t.firstUser,
        t.userMax);
  for (size_t i = 0; i < t.papers.size(); ++i) {
    const PaperInfo& p = t.papers[i];
    const char* kind = i + 1 == t.firstUser ? "user-defined" : i >= t.firstUser ? "user" : "built-in";
    Print("  %4u  %-34s %-12s layout %-3u %s x %s, margins %s %s %s %s, liners %s %s\n", p.paperId,
          NameOf(p).c_str(), kind, p.paperLayout, Mm(p.paperWidth, p.paperUnit).c_str(),
          Mm(p.paperLength, p.paperUnit).c_str(), Mm(p.marginTop, p.paperUnit).c_str(),
          Mm(p.marginBottom, p.paperUnit).c_str(), Mm(p.marginLeft, p.paperUnit).c_str(),
          Mm(p.marginRight, p.paperUnit).c_str(), Mm(p.linerLeft, p.paperUnit).c_str(),
          Mm(p.linerRight, p.paperUnit).c_str());
  }
  return 0;
}

int Add(PrinterStore* store, Table& t, const std::vector<std::wstring>& words, bool yes) {
  if (words.size() < 4) {
    Print(kPapersUsage);
    return 2;
  }
  // A new paper starts as a copy of the user-defined size: its layout and
  // the checks it switches on.
  PaperInfo paper = t.papers[t.firstUser - 1];
  paper.paperId = 0;
  paper.paperUnit = 0;
  if (!ParseMm(words[2], &paper.paperWidth) || !ParseMm(words[3], &paper.paperLength)) {
    Print("vq312ctl: WIDTH and LENGTH are millimetres, as 50 or 50.8\n");
    return 2;
  }
  const struct {
    const wchar_t* key;
    uint32_t PaperInfo::*field;
  } keys[] = {{L"top", &PaperInfo::marginTop},       {L"bottom", &PaperInfo::marginBottom},
              {L"left", &PaperInfo::marginLeft},     {L"right", &PaperInfo::marginRight},
              {L"gap", &PaperInfo::gap},             {L"linerleft", &PaperInfo::linerLeft},
              {L"linerright", &PaperInfo::linerRight}};
  for (size_t i = 4; i < words.size(); ++i) {
    const size_t eq = words[i].find(L'=');
    bool known = false;
    for (const auto& k : keys)
      if (eq != std::wstring::npos && words[i].substr(0, eq) == k.key)
        known = ParseMm(words[i].substr(eq + 1), &(paper.*k.field));
    if (!known) {
      Print("vq312ctl: unknown or bad size %s\n%s", Narrow(words[i]).c_str(), kPapersUsage);
      return 2;
    }
  }
  std::vector<PaperInfo> papers(size_t{t.firstUser} + t.userMax + 1);
  std::copy(t.papers.begin(), t.papers.end(), papers.begin());
  CustomPaperList list{papers.data(), uint32_t(t.papers.size()), t.firstUser, t.userMax, 0};
  ConsoleDialogue ui(yes);
  PaperInfo other = ConvertPaperUnit(paper);
  const std::wstring& name = words[1];
  const uint32_t result = CheckAndStoreCustomPaper(
      ui, std::u16string_view(reinterpret_cast<const char16_t*>(name.c_str()), name.size()), true,
      &paper, &other, &list, false, store);
  if (result != kPaperStoredNew && result != kPaperStoredOver) {
    Print("vq312ctl: the paper was not stored\n");
    return 1;
  }
  Print("%s paper %u \"%s\"\n", result == kPaperStoredNew ? "Added" : "Replaced", paper.paperId,
        NameOf(paper).c_str());
  return 0;
}

int Delete(PrinterStore* store, Table& t, const std::vector<std::wstring>& words, bool yes) {
  if (words.size() != 2) {
    Print(kPapersUsage);
    return 2;
  }
  const uint32_t id = uint32_t(std::wcstoul(words[1].c_str(), nullptr, 10));
  const PaperInfo* paper = nullptr;
  for (size_t i = t.firstUser; i < t.papers.size(); ++i)
    if (t.papers[i].paperId == id) paper = &t.papers[i];
  if (!paper) {
    Print("vq312ctl: no user paper %u (built-in papers cannot be deleted)\n", id);
    return 1;
  }
  JobSettings work{}, defaults{};
  uint32_t needed = 0;
  GetPrinterDefaultSettings(store, &work, &needed);
  if (!SetDefaultJobSettings(&defaults, Services())) {
    Print("vq312ctl: the device-information module cannot be used\n");
    return 1;
  }
  std::vector<PaperInfo> papers(t.papers);
  CustomPaperList list{papers.data(), uint32_t(papers.size()), t.firstUser, t.userMax, 0};
  ConsoleDialogue ui(yes);
  const PaperInfo target = *paper;
  const uint32_t result = CheckAndDeletePaper(ui, target, &list, work, defaults, store);
  if (result != kPaperDeleted) {
    Print("vq312ctl: paper %u was not deleted\n", id);
    return 1;
  }
  Print("Deleted paper %u \"%s\"\n", id, NameOf(target).c_str());
  return 0;
}

}  // namespace

int RunPapers(int argc, wchar_t** argv) {
  ListAddDelete command;
  if (!ReadListAddDelete(argc, argv, &command)) {
    Print(kPapersUsage);
    return 2;
  }
  const Options& options = command.options;
  const std::vector<std::wstring>& words = command.words;
  const bool yes = command.yes;
  Win32Spooler spooler;
  const uint32_t access = words[0] == L"list" ? kPrinterAccessUse : kPrinterAllAccess;
  const auto store = spooler.Open(reinterpret_cast<const char16_t*>(options.printer.c_str()), access);
  Table table;
  if (!store || !ReadTable(store.get(), &table)) {
    Print("vq312ctl: the paper table of \"%s\" cannot be read%s\n", Narrow(options.printer).c_str(),
          access == kPrinterAllAccess ? " (administrator rights are needed to change it)" : "");
    return 1;
  }
  if (words[0] == L"list") return List(table);
  return words[0] == L"add" ? Add(store.get(), table, words, yes) : Delete(store.get(), table, words, yes);
}

}  // namespace vq::ctl
