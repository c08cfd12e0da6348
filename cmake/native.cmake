# Native (Linux) build: tests of the portable core, fuzzers, benchmarks.
find_package(GTest REQUIRED)

add_executable(core_tests
  tests/core/job_settings_test.cpp
  tests/core/printer_store_test.cpp
  tests/core/devinfo_test.cpp
  tests/core/printer_event_test.cpp
  tests/core/devmode_request_test.cpp
  tests/core/spooler_queries_test.cpp
  tests/core/test_printer.cpp
)
target_link_libraries(core_tests PRIVATE vq312_core vq312_devinfo GTest::gtest_main)
add_test(NAME core_tests COMMAND core_tests)

# libFuzzer targets (clang only), with address and undefined-behaviour
# sanitizers. Each has a seed corpus that the test run replays.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(VQ312_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined)
  function(vq312_add_fuzzer name)
    cmake_parse_arguments(F "" "CORPUS" "SOURCES" ${ARGN})
    add_executable(${name} ${F_SOURCES})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${VQ312_SANITIZE} -g -O1)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer ${VQ312_SANITIZE})
    add_test(NAME ${name}_corpus COMMAND ${name} -runs=0 ${F_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES LABELS fuzz)
  endfunction()
  set(VQ312_CORE_SOURCES
    ${CMAKE_SOURCE_DIR}/devinfo/difm_mapping.cpp
    ${CMAKE_SOURCE_DIR}/devinfo/device_info.cpp
    ${CMAKE_SOURCE_DIR}/settings/job_settings.cpp
    ${CMAKE_SOURCE_DIR}/settings/printer_store.cpp
    ${CMAKE_SOURCE_DIR}/settings/memory_store.cpp
    ${CMAKE_SOURCE_DIR}/settings/devmode_request.cpp
    ${CMAKE_SOURCE_DIR}/entry/printer_event.cpp)
  vq312_add_fuzzer(fuzz_validate
    SOURCES fuzz/validate_fuzz.cpp tests/core/test_printer.cpp ${VQ312_CORE_SOURCES}
    CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/validate)
endif()

# The Windows tree's tests join this run when it has been built, so one
# CTest run covers the core, the fuzz corpora and the Wine tests.
if(VQ312_WINDOWS_TREE)
  set(VQ312_WINDOWS_INCLUDE ${CMAKE_BINARY_DIR}/windows_tests.cmake)
  file(WRITE ${VQ312_WINDOWS_INCLUDE}
    "if(EXISTS \"${VQ312_WINDOWS_TREE}/CTestTestfile.cmake\")\n"
    "  subdirs(\"${VQ312_WINDOWS_TREE}\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${VQ312_WINDOWS_INCLUDE})
endif()

# Status monitor link and document events: portable parts, tests and fuzzers.
include(cmake/status_monitor_native.cmake OPTIONAL)
include(cmake/layout_native.cmake)
include(cmake/texts_native.cmake)
include(cmake/portable_check.cmake)

# No folder of the UI module includes a layer above it.
add_test(NAME layers COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/layer_check.cmake)
