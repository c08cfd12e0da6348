# The maintenance utility: the state record and the page's decisions join the
# core; on Windows the simulated printer's maintenance side, the stand-ins
# VQ312GS.dll and VQ312GD.dll, the page and its dialogs, and their tests.
target_sources(vq312_core PRIVATE
  ${CMAKE_SOURCE_DIR}/monitor/printer_state_record.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/maintenance_rules.cpp)
target_sources(vq312_simprinter PRIVATE
  ${CMAKE_SOURCE_DIR}/modules/simulated_printer/maintenance_state.cpp)

if(NOT WIN32)
  add_executable(maintenance_tests ${CMAKE_SOURCE_DIR}/tests/core/maintenance_test.cpp)
  target_link_libraries(maintenance_tests PRIVATE vq312_simprinter vq312_core GTest::gtest_main)
  add_test(NAME maintenance_tests COMMAND maintenance_tests)
  return()
endif()

target_sources(vq312_simprinter PRIVATE
  ${CMAKE_SOURCE_DIR}/modules/simulated_printer/maintenance_state_win.cpp)

vq312_module(VQ312GS
  SOURCES modules/gs/gs_win.cpp modules/gs/gs.rc
  DEF ${CMAKE_SOURCE_DIR}/modules/gs/VQ312GS.def
  LIBS vq312_simprinter)
vq312_module(VQ312GD
  SOURCES modules/gd/gd_win.cpp modules/gd/gd.rc
  DEF ${CMAKE_SOURCE_DIR}/modules/gd/VQ312GD.def
  LIBS vq312_simprinter)
add_dependencies(vq312ctl VQ312GS VQ312GD)
target_sources(vq312ctl PRIVATE ${CMAKE_SOURCE_DIR}/tools/vq312ctl/maint.cpp)
target_link_libraries(vq312ctl PRIVATE vq312_pages)

target_sources(vq312_pages PRIVATE
  ${CMAKE_SOURCE_DIR}/pages/utility/maintenance_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/wait_dialog_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/settings_dialogs_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/head_adjust_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/printer_report_win.cpp)


# A printer of the tests' own on a file-path port (a "FILE:" port would skip
# every wait), then the modules, the page and its dialogs against it; the
# screenshot test once more in Chinese.
set(VQ312_MAINT_PRINTER "VT-Q3120 Maintenance Test")
add_test(NAME maintenance_printer
  COMMAND vq312ctl install --from ${VQ312_DIST} --printer ${VQ312_MAINT_PRINTER}
          --port C:\\windows\\temp\\vq312-maintenance.prn)
set_tests_properties(maintenance_printer PROPERTIES FIXTURES_SETUP maint_printer
  FIXTURES_REQUIRED "winebed;installed" ENVIRONMENT "${VQ312_WINE_ENV}" RESOURCE_LOCK wine)

vq312_wine_test(wine_maintenance_tests
  SOURCES tests/wine/maintenance_test.cpp tests/wine/installed_printer.cpp
          tools/sheet_host/sheet_host_win.cpp tests/wine/glyph_check_win.cpp
  LIBS vq312_pages vq312_simprinter comctl32 gdi32 user32)
add_dependencies(wine_maintenance_tests VQ312UI VQ312GS VQ312GD VQ312RD)
set(VQ312_MAINT_SHOTS ${CMAKE_BINARY_DIR}/screenshots/maintenance)
file(MAKE_DIRECTORY ${VQ312_MAINT_SHOTS}/en ${VQ312_MAINT_SHOTS}/zh)
set_tests_properties(wine_maintenance_tests PROPERTIES TIMEOUT 400
  FIXTURES_REQUIRED "winebed;installed;maint_printer"
  ENVIRONMENT "${VQ312_WINE_ENV};VQ312_MAINT_SHOTS=Z:${VQ312_MAINT_SHOTS}/en")
add_test(NAME wine_maintenance_screenshots_zh
  COMMAND wine_maintenance_tests --gtest_filter=*Screenshots*)
set_tests_properties(wine_maintenance_screenshots_zh PROPERTIES TIMEOUT 200 RESOURCE_LOCK wine
  FIXTURES_REQUIRED "winebed;installed;maint_printer"
  ENVIRONMENT "${VQ312_WINE_ENV};LANG=zh_CN.UTF-8;LC_ALL=zh_CN.UTF-8;VQ312_MAINT_SHOTS=Z:${VQ312_MAINT_SHOTS}/zh")

# The benchmark of the page's opening and the wait dialog's round trip (run
# by tools/bench).
add_executable(maintenance_bench bench/maintenance_bench.cpp tests/wine/installed_printer.cpp
               tools/sheet_host/sheet_host_win.cpp)
target_include_directories(maintenance_bench PRIVATE ${CMAKE_SOURCE_DIR} ${VQ312_GENERATED})
add_dependencies(maintenance_bench vq312_page_layouts VQ312UI VQ312GS VQ312GD VQ312RD)
target_link_libraries(maintenance_bench PRIVATE vq312_pages vq312_simprinter vq312_win comctl32
                      gdi32 user32)
target_link_options(maintenance_bench PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
