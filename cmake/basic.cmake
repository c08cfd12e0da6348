# The basic settings page and the page preview: their portable decisions join
# the core (tested natively), the preview drawing joins the Win32 shell below
# the pages, so that every page with a paper picture can call it.
target_sources(vq312_core PRIVATE
  ${CMAKE_SOURCE_DIR}/pages/basic/basic_rules.cpp
  ${CMAKE_SOURCE_DIR}/uicore/page_preview.cpp)

if(WIN32)
  target_sources(vq312_win PRIVATE ${CMAKE_SOURCE_DIR}/uicore/page_preview_win.cpp)
else()
  add_executable(basic_page_tests
    ${CMAKE_SOURCE_DIR}/tests/core/basic_rules_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/page_preview_test.cpp)
  target_link_libraries(basic_page_tests PRIVATE vq312_core GTest::gtest_main)
  add_test(NAME basic_page_tests COMMAND basic_page_tests)
endif()

# The page driven under Wine, in the sheets' test program; once more in
# Chinese for the screenshots.
if(WIN32)
  target_sources(wine_sheet_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine/basic_page_test.cpp)
  target_include_directories(wine_sheet_tests PRIVATE ${VQ312_GENERATED})
  add_dependencies(wine_sheet_tests vq312_page_layouts)
  set(VQ312_BASIC_SHOTS ${CMAKE_BINARY_DIR}/screenshots/basic)
  set_property(TEST wine_sheet_tests APPEND PROPERTY ENVIRONMENT "VQ312_SCREENSHOTS=${VQ312_BASIC_SHOTS}")
  add_test(NAME wine_basic_page_zh COMMAND wine_sheet_tests --gtest_filter=BasicPage.*)
  set_tests_properties(wine_basic_page_zh PROPERTIES FIXTURES_REQUIRED "winebed;installed"
    RESOURCE_LOCK wine
    ENVIRONMENT "${VQ312_WINE_ENV};LANG=zh_CN.UTF-8;LC_ALL=zh_CN.UTF-8;VQ312_SCREENSHOTS=${VQ312_BASIC_SHOTS}")
endif()
if(WIN32)
  add_test(NAME wine_basic_user_paper
    COMMAND wine_sheet_tests --gtest_filter=BasicPage.UserDefinedSizeCarriesToTheNextSheet)
  set_tests_properties(wine_basic_user_paper PROPERTIES FIXTURES_REQUIRED "winebed;installed"
    RESOURCE_LOCK wine ENVIRONMENT "${VQ312_WINE_ENV}")
endif()
