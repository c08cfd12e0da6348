// `vq312ctl defaults get | set [--printer NAME] KEY=VALUE ...`: shows and
// changes the printer's default job settings without opening a window, for
// administrators who set up many machines. Each value is checked the way
// the page that shows it checks it; one refused value stores nothing.
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <vector>

#include "devinfo/difm_loader_win.h"
#include "devinfo/text_ids.h"
#include "pages/basic/basic_rules.h"
#include "pages/job_fields.h"
#include "settings/job_settings.h"
#include "settings/printer_store_win.h"
#include "tools/vq312ctl/ctl.h"
#include "tools/vq312ctl/describe.h"

namespace vq::ctl {
namespace {

void Usage() {
  Print("usage: vq312ctl defaults get [--printer NAME]\n"
        "       vq312ctl defaults set [--printer NAME] KEY=VALUE ...\n  keys:");
  for (const char* line : JobFieldHelp()) Print(" %s", line);
  Print("\n");
}

// The printer's tables and limits the page's keys are checked against.
struct PrinterFacts {
  std::vector<PaperInfo> papers;
  std::vector<MediaData> media;
  JobFieldPrinter view;
};

void ReadFacts(HANDLE printer, const std::wstring& name, PrinterFacts* f) {
  Win32PrinterStore store(printer, false);
  f->papers = ReadPaperTable(&store);
  ReadMediaTable(&store, &f->media);
  std::vector<unsigned char> special;
  f->view.papers = f->papers;
  f->view.media = f->media;
  // As on the page: narrow margins only when the special settings say so.
  f->view.narrowMarginAllowed =
      ReadPrinterValue(&store, pd::kSpecialSet, &special) && !special.empty() && !(special[0] & 0x10);
  const DifmApi& difm = DeviceInfoApi();
  const std::u16string printerName(name.begin(), name.end());
  DifmMapping map(difm, printerName.c_str());
  if (map && difm.DifmGetCopiesInf) f->view.maxCopies = difm.DifmGetCopiesInf(map.get());
}

// After a change the record is no longer a named set: "current settings",
// in the language of the user who runs the tool (as the pages name it).
void NameCurrentSettings(JobSettings& js, const std::wstring& name) {
  const DifmApi& difm = DeviceInfoApi();
  const std::u16string printerName(name.begin(), name.end());
  DifmMapping map(difm, printerName.c_str());
  char16_t text[65] = {};
  uint32_t bytes = sizeof text - sizeof(char16_t);
  if (!map || !difm.DifmGetRealDataStr(map.get(), text_ids::kSettingsNameCurrent, text, &bytes)) return;
  basic::MarkChangedByHand(js, text);
}

}  // namespace

int RunDefaults(int argc, wchar_t** argv) {
  const std::wstring verb = argc >= 3 ? argv[2] : L"";
  if ((verb != L"set" || argc < 4) && verb != L"get") {
    Usage();
    return 2;
  }
  std::wstring name = L"Morva VT-Q3120";
  std::vector<std::pair<std::string, std::string>> changes;
  for (int i = 3; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--printer" && i + 1 < argc) {
      name = argv[++i];
      continue;
    }
    const size_t eq = arg.find(L'=');
    if (eq == std::wstring::npos) {
      Print("vq312ctl: %s is not KEY=VALUE\n", Narrow(arg).c_str());
      Usage();
      return 2;
    }
    changes.emplace_back(Narrow(arg.substr(0, eq)), Narrow(arg.substr(eq + 1)));
  }
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &access)) {
    Print("vq312ctl: no printer \"%s\" that may be administered\n", Narrow(name).c_str());
    return 1;
  }
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed ? needed : 1);
  auto* p2 = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  JobSettings js{};
  if (!GetPrinterW(printer, 2, info.data(), needed, &needed) || !p2->pDevMode ||
      CopyDevModeBytes(p2->pDevMode, kUnknownSize, &js) < kJobSettingsSize || !HasSignature(js)) {
    Print("vq312ctl: \"%s\" has no default job settings of this driver\n", Narrow(name).c_str());
    ClosePrinter(printer);
    return 1;
  }
  PrinterFacts facts;
  ReadFacts(printer, name, &facts);
  if (verb == L"get") {
    if (!changes.empty()) {
      Usage();
      ClosePrinter(printer);
      return 2;
    }
    for (const FieldValue& v : GetPageFields(js, facts.view))
      Print("%s=%s%s%s\n", v.key.c_str(), v.value.c_str(), v.name.empty() ? "" : "  ",
            Utf8(v.name).c_str());
    ClosePrinter(printer);
    return 0;
  }
  std::vector<std::string> notes;
  for (const auto& [key, value] : changes) {
    const FieldChange c = SetJobField(js, key, value, facts.view);
    if (!c.known || !c.ok) {
      Print("vq312ctl: %s=%s refused: %s; nothing stored\n", key.c_str(), value.c_str(),
            c.known ? c.reason.c_str() : "not a setting of this command");
      ClosePrinter(printer);
      return c.known ? 1 : 2;
    }
    if (!c.note.empty()) notes.push_back(key + "=" + value + ": " + c.note);
  }
  NameCurrentSettings(js, name);
  std::memcpy(p2->pDevMode, &js, sizeof js);
  p2->pSecurityDescriptor = nullptr;
  const bool stored = SetPrinterW(printer, 2, info.data(), 0);
  ClosePrinter(printer);
  if (!stored) {
    Print("vq312ctl: the default job settings could not be stored (error %lu)\n", GetLastError());
    return 1;
  }
  for (const std::string& note : notes) Print("%s\n", note.c_str());
  Print("%zu setting(s) stored in the default job settings of \"%s\"\n", changes.size(),
        Narrow(name).c_str());
  return 0;
}

}  // namespace vq::ctl
