# Status monitor link and document events, Windows side: the portable parts
# join the core, the Win32 parts the UI module's shell, DrvDocumentEvent the
# UI module; the stand-in monitor, port module and the two modules the
# monitor's start needs; their tests under Wine.
target_sources(vq312_core PRIVATE
  ${CMAKE_SOURCE_DIR}/monitor/status_monitor.cpp
  ${CMAKE_SOURCE_DIR}/entry/document_event.cpp)
target_sources(vq312_win PRIVATE
  ${CMAKE_SOURCE_DIR}/monitor/status_monitor_win.cpp
  ${CMAKE_SOURCE_DIR}/entry/document_event_host_win.cpp)
target_link_libraries(vq312_win PUBLIC advapi32)
target_sources(VQ312UI PRIVATE ${CMAKE_SOURCE_DIR}/entry/document_event_win.cpp)

# The simulated printer: its state in printer data, read by the monitor and
# the port module, set by vq312ctl and the tests.
add_library(vq312_simprinter STATIC
  ${CMAKE_SOURCE_DIR}/modules/simulated_printer/simulated_printer.cpp
  ${CMAKE_SOURCE_DIR}/modules/simulated_printer/simulated_printer_win.cpp)
target_link_libraries(vq312_simprinter PUBLIC vq312_core winspool)

add_executable(VQ312SM WIN32
  ${CMAKE_SOURCE_DIR}/modules/sm/monitor_win.cpp
  ${CMAKE_SOURCE_DIR}/modules/sm/sm.rc)
target_include_directories(VQ312SM PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(VQ312SM PRIVATE vq312_simprinter user32 gdi32)
target_link_options(VQ312SM PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
set_target_properties(VQ312SM PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VQ312_DIST})

vq312_module(VQ312PC
  SOURCES modules/pc/port_win.cpp modules/pc/pc.rc
  DEF ${CMAKE_SOURCE_DIR}/modules/pc/VQ312PC.def
  LIBS vq312_simprinter)
vq312_module(VQ312AN SOURCES modules/an/an_main_win.cpp modules/an/an.rc)
vq312_module(VQ312RS SOURCES modules/rs/rs_main_win.cpp modules/rs/rs.rc)

target_sources(vq312ctl PRIVATE ${CMAKE_SOURCE_DIR}/tools/vq312ctl/printer_state.cpp)
target_link_libraries(vq312ctl PRIVATE vq312_simprinter)
# The install fixture stages these beside the UI module.
add_dependencies(vq312ctl VQ312SM VQ312PC VQ312AN VQ312RS)

# Under Wine: a printer of the tests' own (its data and simulated state are
# changed freely), then the link and the document events against it.
set(VQ312_SM_PRINTER "VT-Q3120 Status Test")
add_test(NAME status_monitor_printer
  COMMAND vq312ctl install --from ${VQ312_DIST} --printer ${VQ312_SM_PRINTER})
set_tests_properties(status_monitor_printer PROPERTIES FIXTURES_SETUP sm_printer
  FIXTURES_REQUIRED "winebed;installed" ENVIRONMENT "${VQ312_WINE_ENV}" RESOURCE_LOCK wine)

vq312_wine_test(wine_status_monitor_tests
  SOURCES tests/wine/status_monitor_test.cpp tests/wine/installed_printer.cpp
          tests/wine/wine_main.cpp
  LIBS vq312_win vq312_simprinter user32)
add_dependencies(wine_status_monitor_tests VQ312UI VQ312SM VQ312PC VQ312AN VQ312RS)
set_tests_properties(wine_status_monitor_tests PROPERTIES
  FIXTURES_REQUIRED "winebed;installed;sm_printer" TIMEOUT 180)

# The tool sets and shows the simulated printer; bad words change nothing.
add_test(NAME vq312ctl_state
  COMMAND vq312ctl state --printer ${VQ312_SM_PRINTER} busy alerts=cover-open+ink-out serial=ZX00000001)
add_test(NAME vq312ctl_state_refused
  COMMAND vq312ctl state --printer ${VQ312_SM_PRINTER} idle alerts=lid-open)
add_test(NAME vq312ctl_state_reset COMMAND vq312ctl state --printer ${VQ312_SM_PRINTER} reset)
set_tests_properties(vq312ctl_state vq312ctl_state_refused vq312ctl_state_reset PROPERTIES
  FIXTURES_REQUIRED "winebed;installed;sm_printer" ENVIRONMENT "${VQ312_WINE_ENV}"
  RESOURCE_LOCK wine)
set_tests_properties(vq312ctl_state PROPERTIES PASS_REGULAR_EXPRESSION
  "state busy, alerts cover-open\\+ink-out, serial ZX00000001, firmware 1.05A, port answers")
# Refused, and the state stays what the first test left.
set_tests_properties(vq312ctl_state_refused PROPERTIES DEPENDS vq312ctl_state
  PASS_REGULAR_EXPRESSION "unknown alert \"lid-open\"")
set_tests_properties(vq312ctl_state_reset PROPERTIES DEPENDS vq312ctl_state_refused
  PASS_REGULAR_EXPRESSION "state idle, alerts none, serial VQ31200417")
