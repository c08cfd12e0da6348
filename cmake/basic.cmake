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
