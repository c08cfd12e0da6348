# Dialog layout engine and shared controls: the portable arithmetic joins the
# core in both builds (layout_native.cmake includes this file for it), the
# Win32 side joins the UI module's shell, and its tests run under Wine.

target_sources(vq312_core PRIVATE ${CMAKE_SOURCE_DIR}/uicore/dialog_layout.cpp)

if(WIN32)
  enable_language(RC)

  target_sources(vq312_win PRIVATE
    ${CMAKE_SOURCE_DIR}/uicore/dialog_layout_win.cpp
    ${CMAKE_SOURCE_DIR}/uicore/shared_controls_win.cpp
    ${CMAKE_SOURCE_DIR}/base/activation_win.cpp)
  # comctl32 and comdlg32 are not linked: they are loaded inside the module's
  # activation context when first needed.
  target_link_libraries(vq312_win PUBLIC gdi32 user32)

  # A module whose manifest (resource 2) the loader binds, for the
  # activation-context tests.
  add_library(wine_layout_actctx SHARED
    tests/wine/layout_actctx_dll.cpp tests/wine/layout_actctx_dll.rc)
  set_target_properties(wine_layout_actctx PROPERTIES PREFIX "")
  target_include_directories(wine_layout_actctx PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_options(wine_layout_actctx PRIVATE ${VQ312_STATIC_RUNTIME})

  vq312_wine_test(wine_layout_tests
    SOURCES tests/wine/layout_test.cpp tests/wine/layout_controls_test.cpp
            tests/wine/layout_test.rc tests/wine/installed_printer.cpp tests/wine/wine_main.cpp
    LIBS vq312_win)
  add_dependencies(wine_layout_tests wine_layout_actctx)
  # Once more where the user's numbers take a decimal comma.
  add_test(NAME wine_layout_decimal_comma
    COMMAND wine_layout_tests --gtest_filter=Locale.*)
  set_tests_properties(wine_layout_decimal_comma PROPERTIES
    FIXTURES_REQUIRED "winebed;installed" RESOURCE_LOCK wine
    ENVIRONMENT "${VQ312_WINE_ENV};LANG=de_DE.UTF-8;LC_ALL=de_DE.UTF-8;VQ312_EXPECT_DECIMAL=comma")
endif()
