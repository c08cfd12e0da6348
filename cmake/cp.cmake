# Favourites, the custom paper checks and VQ312CP.dll, the settings summary
# and the version dialog: portable rules in the core, their Win32 dialogs
# in the pages, the custom paper dialog in its own module.
target_sources(vq312_core PRIVATE
  ${CMAKE_SOURCE_DIR}/pages/basic/favourites.cpp
  ${CMAKE_SOURCE_DIR}/pages/basic/custom_paper.cpp
  ${CMAKE_SOURCE_DIR}/pages/basic/settings_summary.cpp)

if(WIN32)
  include(${CMAKE_SOURCE_DIR}/cmake/cp_windows.cmake)
else()
  add_executable(cp_tests
    ${CMAKE_SOURCE_DIR}/tests/core/favourites_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/custom_paper_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/test_printer.cpp)
  target_include_directories(cp_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(cp_tests PRIVATE vq312_core vq312_devinfo GTest::gtest_main)
  add_test(NAME cp_tests COMMAND cp_tests)

  if(COMMAND vq312_add_fuzzer)
    vq312_add_fuzzer(fuzz_entry_set
      SOURCES ${CMAKE_SOURCE_DIR}/fuzz/entry_set_fuzz.cpp
              ${CMAKE_SOURCE_DIR}/pages/basic/favourites.cpp
              ${CMAKE_SOURCE_DIR}/tests/core/test_printer.cpp ${VQ312_CORE_SOURCES}
      CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/entry_set)
  endif()
endif()
