# Texts, messages and help in the Windows build: the routines of the pages,
# the LoadOneString2 export and the Wine tests of help and text fetching.
# (The help file itself is compiled in windows.cmake from help/.)
target_sources(vq312_core PRIVATE uicore/texts.cpp)
target_sources(vq312_win PRIVATE uicore/texts_win.cpp)
target_sources(VQ312UI PRIVATE entry/text_exports_win.cpp)

vq312_wine_test(wine_help_tests
  SOURCES tests/wine/help_test.cpp tests/wine/installed_printer.cpp tests/wine/wine_main.cpp
  LIBS vq312_pages comctl32)
