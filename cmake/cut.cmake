# The cut settings, overlay forms and advanced pages and the overlay settings
# dialog: their portable decisions join the core (tested natively), their
# Win32 parts the pages library.
target_sources(vq312_core PRIVATE
  ${CMAKE_SOURCE_DIR}/pages/cut/cut_rules.cpp
  ${CMAKE_SOURCE_DIR}/pages/overlay/overlay_rules.cpp
  ${CMAKE_SOURCE_DIR}/pages/advanced/advanced_rules.cpp
  ${CMAKE_SOURCE_DIR}/pages/job_fields.cpp)

if(WIN32)
  target_sources(vq312_pages PRIVATE
    ${CMAKE_SOURCE_DIR}/pages/sheet/settings_name_win.cpp
    ${CMAKE_SOURCE_DIR}/pages/overlay/overlay_form_win.cpp
    ${CMAKE_SOURCE_DIR}/pages/overlay/overlay_dialog_win.cpp)
else()
  add_executable(page_rules_tests ${CMAKE_SOURCE_DIR}/tests/core/cut_overlay_advanced_test.cpp)
  target_link_libraries(page_rules_tests PRIVATE vq312_form_tools vq312_core GTest::gtest_main)
  add_test(NAME page_rules_tests COMMAND page_rules_tests)
endif()

# Wine: the pages driven by messages, in the sheet tests' program.
if(TARGET wine_sheet_tests)
  target_sources(wine_sheet_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine/cut_overlay_advanced_test.cpp)
  target_include_directories(wine_sheet_tests PRIVATE ${VQ312_GENERATED})
  target_link_libraries(wine_sheet_tests PRIVATE vq312_form_tools)
endif()

# Benchmark (run by tools/bench): the basic page's opening, preview and
# paper list, the other pages against their bare templates, and choosing a
# form against reading its bytes (helpers shared with sheet_bench).
if(TARGET sheet_bench)
  add_executable(pages_bench ${CMAKE_SOURCE_DIR}/bench/pages_bench.cpp ${CMAKE_SOURCE_DIR}/bench/bench_win.cpp
                 ${CMAKE_SOURCE_DIR}/tests/wine/installed_printer.cpp
                 ${CMAKE_SOURCE_DIR}/tools/sheet_host/sheet_host_win.cpp)
  target_include_directories(pages_bench PRIVATE ${CMAKE_SOURCE_DIR} ${VQ312_GENERATED})
  add_dependencies(pages_bench vq312_page_layouts)
  target_link_libraries(pages_bench PRIVATE vq312_pages vq312_win comctl32 gdi32 user32)
  target_link_options(pages_bench PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
endif()

if(TARGET vq312ctl)
  target_sources(vq312ctl PRIVATE ${CMAKE_SOURCE_DIR}/tools/vq312ctl/defaults.cpp)
endif()
