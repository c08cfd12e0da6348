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

target_sources(vq312_pages PRIVATE
  ${CMAKE_SOURCE_DIR}/pages/utility/maintenance_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/wait_dialog_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/settings_dialogs_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/printer_report_win.cpp)


vq312_wine_test(wine_maintenance_tests
  SOURCES tests/wine/maintenance_test.cpp tests/wine/installed_printer.cpp tests/wine/wine_main.cpp
          tools/sheet_host/sheet_host_win.cpp
  LIBS vq312_pages vq312_simprinter comctl32 gdi32 user32)
add_dependencies(wine_maintenance_tests VQ312UI VQ312GS VQ312GD VQ312RD)
set_tests_properties(wine_maintenance_tests PROPERTIES TIMEOUT 300)
