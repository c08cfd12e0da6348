// vq312ctl: the administrator's console tool for the Morva VT-Q3120 driver.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

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
int RunDefaults(int argc, wchar_t** argv);
int RunPrefs(const Options& options, const std::wstring& screenshots);
int RunProps(const Options& options, const std::wstring& screenshots);

// Output: UTF-8, so Chinese names read right on a terminal and in logs.
void Print(const std::string& text);
void Print(const char* fmt, ...);
std::string Narrow(const std::wstring& text);

}  // namespace vq::ctl
