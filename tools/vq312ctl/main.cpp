#include <cstdarg>
#include <cstring>

#include "tools/vq312ctl/describe.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {

void Print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void Print(const char* fmt, ...) {
  char buf[1024];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(buf, sizeof buf, fmt, args);
  va_end(args);
  Print(std::string(buf));
}

std::string Narrow(const std::wstring& text) {
  return Utf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.c_str()), text.size()));
}

}  // namespace vq::ctl

namespace {

constexpr char kUsage[] =
    "usage: vq312ctl COMMAND [options]\n"
    "  install [--from DIR] [--port PORT] [--printer NAME]\n"
    "          stage the driver files, add the driver and the printer, seed its settings\n"
    "  show [--printer NAME]\n"
    "          the printer's stored values and its default job settings\n"
    "  caps [--printer NAME]\n"
    "          every capability answer, as applications see them\n"
    "  prefs [--printer NAME] [--screenshots DIR]\n"
    "          Printing Preferences, as applications open it\n"
    "  props [--printer NAME] [--screenshots DIR]\n"
    "          the printer properties' pages (maintenance utility)\n"
    "  defaults get [--printer NAME] | defaults set [--printer NAME] KEY=VALUE ...\n"
    "          the printer's default paper, media, copies, orientation, cut, overlay\n"
    "          and page-layout settings, checked as the pages check them\n"
    "          (vq312ctl defaults set shows the keys)\n"
    "  form info FILE | form thumbnail FILE OUT.bmp\n"
    "          an overlay form's facts, or its picture as a BMP\n"
    "  state [--printer NAME] [SETTING...]\n"
    "          the simulated printer behind the status monitor and port module:\n"
    "          idle, busy, asleep, ..., alerts=paper-out+cover-open, serial=TEXT,\n"
    "          firmware=TEXT, port=silent|garbage|..., reset; and its maintenance side:\n"
    "          reg=B0,...,B11, sleep=10/240, cut=20/20, s1=0x28, ink-empty=cyan, box=near-full,\n"
    "          work=MS, commands=refused, ...\n"
    "  maint [--printer NAME] OPERATION\n"
    "          nozzle-check, cleaning, calibrate, feed, print-info; sleep, cutter, special\n"
    "          (shown, or set with their values), with the utility page's checks\n"
    "  favourites [--printer NAME] list | export FILE | import FILE\n"
    "          the printer's favourites; an import is checked whole before it is stored\n"
    "  papers [--printer NAME] list | add NAME WIDTH LENGTH [top=MM ...] | delete ID [--yes]\n"
    "          the paper table; user papers through the custom paper dialog's checks\n"
    "  media [--printer NAME] list | add NAME CLASS V1..V8 | delete ID [--yes]\n"
    "          the media table; custom media types through the media editor's checks\n";

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace vq::ctl;
  // Line by line: a report cut short by a failing driver call still shows
  // how far it got.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    Print(kUsage);
    return 2;
  }
  if (std::wstring(argv[1]) == L"defaults") return RunDefaults(argc, argv);
  if (std::wstring(argv[1]) == L"form") return RunForm(argc, argv);
  if (std::wstring(argv[1]) == L"state") return RunState(argc, argv);
  if (std::wstring(argv[1]) == L"maint") return RunMaint(argc, argv);
  if (std::wstring(argv[1]) == L"favourites") return RunFavourites(argc, argv);
  if (std::wstring(argv[1]) == L"papers") return RunPapers(argc, argv);
  if (std::wstring(argv[1]) == L"media") return RunMedia(argc, argv);
  Options options;
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == L"--from" && hasValue)
      options.from = argv[++i];
    else if (arg == L"--port" && hasValue)
      options.port = argv[++i];
    else if (arg == L"--printer" && hasValue)
      options.printer = argv[++i];
    else if (arg == L"--screenshots" && hasValue)
      options.screenshots = argv[++i];
    else {
      Print("vq312ctl: unknown option %s\n%s", Narrow(arg).c_str(), kUsage);
      return 2;
    }
  }
  const std::wstring command = argv[1];
  if (command == L"install") return RunInstall(options);
  if (command == L"show") return RunShow(options);
  if (command == L"caps") return RunCaps(options);
  if (command == L"prefs") return RunPrefs(options, options.screenshots);
  if (command == L"props") return RunProps(options, options.screenshots);
  Print("vq312ctl: unknown command %s\n%s", Narrow(command).c_str(), kUsage);
  return 2;
}
