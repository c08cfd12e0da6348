#include <gtest/gtest.h>

#include "base/module_win.h"
#include "tests/wine/installed_printer.h"

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The test program links the UI module's code and stands in its place:
  // the sibling modules it loads are those the spooler installed.
  vq::g_module = vq::wine::LoadInstalledModule(L"VQ312DI.dll");
  return RUN_ALL_TESTS();
}
