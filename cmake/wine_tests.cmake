# Windows test programs run under Wine. A fixture starts the test bed (fresh
# prefix, Xvfb, persistent wine server), another installs the driver into it
# the way an administrator would; the test programs then go through the real
# winspool. CMAKE_CROSSCOMPILING_EMULATOR (tests/wine/wine-run) runs them.

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)

set(VQ312_BED ${CMAKE_BINARY_DIR}/winebed)
set(VQ312_WINE_ENV VQ312_BED=${VQ312_BED})

add_test(NAME winebed_start COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/winebed start ${VQ312_BED})
add_test(NAME winebed_stop COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/winebed stop ${VQ312_BED})
set_tests_properties(winebed_start PROPERTIES FIXTURES_SETUP winebed)
set_tests_properties(winebed_stop PROPERTIES FIXTURES_CLEANUP winebed)

add_test(NAME driver_install COMMAND vq312ctl install --from ${VQ312_DIST})
set_tests_properties(driver_install PROPERTIES
  FIXTURES_SETUP installed FIXTURES_REQUIRED winebed ENVIRONMENT "${VQ312_WINE_ENV}")

function(vq312_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE gtest ${T_LIBS})
  target_link_options(${name} PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED "winebed;installed" ENVIRONMENT "${VQ312_WINE_ENV}" RESOURCE_LOCK wine)
endfunction()

vq312_wine_test(wine_spooler_tests
  SOURCES tests/wine/spooler_test.cpp tests/wine/installed_printer.cpp tests/wine/wine_main.cpp
  LIBS vq312_win)
vq312_wine_test(wine_query_tests
  SOURCES tests/wine/queries_test.cpp tests/wine/installed_printer.cpp tests/wine/wine_main.cpp
  LIBS vq312_win)

# The device-mode corruptor: a suite-sized run here, `--count 100000` by hand.
add_executable(wine_corruptor_tests tests/wine/corruptor_test.cpp tests/wine/installed_printer.cpp)
target_include_directories(wine_corruptor_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(wine_corruptor_tests PRIVATE gtest vq312_win)
target_link_options(wine_corruptor_tests PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
add_test(NAME wine_corruptor COMMAND wine_corruptor_tests)
set_tests_properties(wine_corruptor PROPERTIES FIXTURES_REQUIRED "winebed;installed"
  RESOURCE_LOCK wine ENVIRONMENT "${VQ312_WINE_ENV}" TIMEOUT 600)

# The device module's texts and the sheets' look, once per UI language; the
# Chinese run compares its sheets with the sizes the English run leaves.
add_executable(wine_texts_tests tests/wine/texts_test.cpp tests/wine/installed_printer.cpp
               tests/wine/glyph_check_win.cpp tools/sheet_host/sheet_host_win.cpp)
target_include_directories(wine_texts_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(wine_texts_tests PRIVATE gtest vq312_win comctl32 gdi32 user32)
target_link_options(wine_texts_tests PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
foreach(lang en zh)
  set(locale en_US.UTF-8)
  if(lang STREQUAL zh)
    set(locale zh_CN.UTF-8)
  endif()
  add_test(NAME wine_texts_${lang} COMMAND wine_texts_tests ${lang} Z:${VQ312_BED}/sheet-sizes-en.txt)
  set_tests_properties(wine_texts_${lang} PROPERTIES FIXTURES_REQUIRED "winebed;installed"
    RESOURCE_LOCK wine ENVIRONMENT "${VQ312_WINE_ENV};LANG=${locale};LC_ALL=${locale}")
endforeach()
set_tests_properties(wine_texts_zh PROPERTIES DEPENDS wine_texts_en)

# Benchmarks: programs that print their figures, run by tools/bench.
add_executable(devmode_bench bench/devmode_bench.cpp tests/wine/installed_printer.cpp)
target_include_directories(devmode_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(devmode_bench PRIVATE vq312_win)
target_link_options(devmode_bench PRIVATE ${VQ312_STATIC_RUNTIME} -municode)

add_executable(caps_bench bench/caps_bench.cpp tests/wine/installed_printer.cpp)
target_include_directories(caps_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(caps_bench PRIVATE vq312_win)
target_link_options(caps_bench PRIVATE ${VQ312_STATIC_RUNTIME} -municode)

# The property sheets, in this project's host and in Wine's.
vq312_wine_test(wine_sheet_tests
  SOURCES tests/wine/sheets_test.cpp tests/wine/installed_printer.cpp tests/wine/wine_main.cpp
          tools/sheet_host/sheet_host_win.cpp
  LIBS vq312_win comctl32 gdi32 user32 psapi)
# Stands in for the HTML Help control, so the Help buttons' topics can be read back.
add_library(wine_help_recorder SHARED tests/wine/help_recorder_dll.cpp tests/wine/help_recorder_dll.def)
set_target_properties(wine_help_recorder PROPERTIES PREFIX "")
target_link_options(wine_help_recorder PRIVATE ${VQ312_STATIC_RUNTIME})
add_dependencies(wine_sheet_tests wine_help_recorder)

add_executable(sheet_bench bench/sheet_bench.cpp bench/bench_win.cpp tests/wine/installed_printer.cpp
               tools/sheet_host/sheet_host_win.cpp)
target_include_directories(sheet_bench PRIVATE ${CMAKE_SOURCE_DIR} ${VQ312_GENERATED})
add_dependencies(sheet_bench vq312_page_layouts)
target_link_libraries(sheet_bench PRIVATE vq312_win comctl32 gdi32 user32)
target_link_options(sheet_bench PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
