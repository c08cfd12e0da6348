# Status monitor link and document events, native side: the portable parts
# join the core; the simulated printer behind the stand-in monitor and port
# module is a library of its own (the UI module never links it).
target_sources(vq312_core PRIVATE
  ${CMAKE_SOURCE_DIR}/monitor/status_monitor.cpp
  ${CMAKE_SOURCE_DIR}/entry/document_event.cpp)

add_library(vq312_simprinter STATIC
  ${CMAKE_SOURCE_DIR}/modules/simulated_printer/simulated_printer.cpp)
target_link_libraries(vq312_simprinter PUBLIC vq312_core)

add_executable(status_monitor_tests
  ${CMAKE_SOURCE_DIR}/tests/core/status_monitor_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/document_event_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/test_printer.cpp)
target_link_libraries(status_monitor_tests PRIVATE
  vq312_simprinter vq312_core vq312_devinfo GTest::gtest_main)
add_test(NAME status_monitor_tests COMMAND status_monitor_tests)

if(COMMAND vq312_add_fuzzer)
  # The ICC header test and the profile-list reader behind the print-time
  # colour check, over any profile list and any profile file bytes.
  vq312_add_fuzzer(fuzz_media_profiles
    SOURCES ${CMAKE_SOURCE_DIR}/fuzz/media_profiles_fuzz.cpp
            ${CMAKE_SOURCE_DIR}/entry/document_event.cpp
            ${CMAKE_SOURCE_DIR}/settings/job_checks.cpp
            ${CMAKE_SOURCE_DIR}/monitor/job_message.cpp
            ${CMAKE_SOURCE_DIR}/monitor/status_monitor.cpp
            ${CMAKE_SOURCE_DIR}/settings/printer_store.cpp
            ${CMAKE_SOURCE_DIR}/settings/memory_store.cpp
            ${CMAKE_SOURCE_DIR}/settings/job_settings.cpp
            ${CMAKE_SOURCE_DIR}/devinfo/difm_mapping.cpp
    CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/media_profiles)
endif()
