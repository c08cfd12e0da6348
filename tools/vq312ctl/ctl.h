// vq312ctl: the administrator's console tool for the Morva VT-Q3120 driver.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vq {
class PrinterStore;
}

namespace vq::ctl {

struct Options {
  std::wstring printer = L"Morva VT-Q3120";
  std::wstring port = L"FILE:";
  std::wstring from;  // folder holding the driver files; default: this tool's folder
  std::wstring screenshots;  // prefs, props: save every page here and close
};

int RunInstall(const Options& options);
int RunShow(const Options& options);
int RunCaps(const Options& options);
int RunForm(int argc, wchar_t** argv);
int RunState(int argc, wchar_t** argv);
int RunMaint(int argc, wchar_t** argv);
int RunFavourites(int argc, wchar_t** argv);
int RunPapers(int argc, wchar_t** argv);
int RunMedia(int argc, wchar_t** argv);
int RunReceiptColours(int argc, wchar_t** argv);
int RunDefaults(int argc, wchar_t** argv);
int RunPrefs(const Options& options, const std::wstring& screenshots);
int RunProps(const Options& options, const std::wstring& screenshots);

// "list", "export FILE" and "import FILE" (after an optional --printer NAME)
// on one printer's stored values: the printer is opened for administration
// only to import; wrong words print `usage` and give 2.
struct ListExportImport {
  const char* usage;
  int (*list)(PrinterStore* store, const std::string& printer);
  int (*exportTo)(PrinterStore* store, const std::wstring& file);
  int (*importFrom)(PrinterStore* store, const std::wstring& file);
};
int RunListExportImport(int argc, wchar_t** argv, const ListExportImport& commands);

// The arguments of a "list | add ... | delete ..." command: --printer NAME,
// --yes (questions answered Yes) and the words. False when the first word is
// none of the three (the caller prints its usage).
struct ListAddDelete {
  Options options;
  std::vector<std::wstring> words;
  bool yes = false;
};
bool ReadListAddDelete(int argc, wchar_t** argv, ListAddDelete* command);

// Output: UTF-8, so Chinese names read right on a terminal and in logs.
void Print(const std::string& text);
void Print(const char* fmt, ...);
std::string Narrow(const std::wstring& text);

}  // namespace vq::ctl
