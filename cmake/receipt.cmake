# Receipt colours: the stored pairs, their export file and the test chart
# join the core; on Windows the dialog, the chart's printing, the console
# tool's commands and their Wine test.
set(VQ312_RECEIPT_CORE
  ${CMAKE_SOURCE_DIR}/pages/utility/receipt_colours.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/receipt_chart.cpp)
target_sources(vq312_core PRIVATE ${VQ312_RECEIPT_CORE})

if(NOT WIN32)
  add_executable(receipt_tests ${CMAKE_SOURCE_DIR}/tests/core/receipt_test.cpp)
  target_link_libraries(receipt_tests PRIVATE vq312_core GTest::gtest_main)
  add_test(NAME receipt_tests COMMAND receipt_tests)
  if(COMMAND vq312_add_fuzzer)
    vq312_add_fuzzer(fuzz_receipt_file
      SOURCES fuzz/receipt_file_fuzz.cpp ${VQ312_RECEIPT_CORE} ${VQ312_CORE_SOURCES}
      CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/receipt_file)
  endif()
  return()
endif()

target_sources(vq312_pages PRIVATE
  ${CMAKE_SOURCE_DIR}/pages/utility/receipt_colours_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/utility/receipt_chart_win.cpp)
target_link_libraries(vq312_pages PUBLIC shell32)
target_sources(vq312ctl PRIVATE ${CMAKE_SOURCE_DIR}/tools/vq312ctl/receipt.cpp)

# A printer of the test's own whose port is a file path: the chart's
# PostScript lands in that file and the waits still run (a "FILE:" port
# would skip them). Ghostscript renders it for the check.
set(VQ312_RECEIPT_PRINTER "VT-Q3120 Receipt Test")
add_test(NAME receipt_printer
  COMMAND vq312ctl install --from ${VQ312_DIST} --printer ${VQ312_RECEIPT_PRINTER}
          --port C:\\windows\\temp\\vq312-receipt.prn)
set_tests_properties(receipt_printer PROPERTIES FIXTURES_SETUP receipt_printer
  FIXTURES_REQUIRED "winebed;installed" ENVIRONMENT "${VQ312_WINE_ENV}" RESOURCE_LOCK wine)

vq312_wine_test(wine_receipt_tests
  SOURCES tests/wine/receipt_test.cpp tests/wine/installed_printer.cpp
          tools/sheet_host/sheet_host_win.cpp tests/wine/glyph_check_win.cpp
  LIBS vq312_pages vq312_simprinter comctl32 gdi32 user32 shell32)
add_dependencies(wine_receipt_tests VQ312UI VQ312GS VQ312GD VQ312RD)
set(VQ312_RECEIPT_SHOTS ${CMAKE_BINARY_DIR}/screenshots/receipt)
file(MAKE_DIRECTORY ${VQ312_RECEIPT_SHOTS}/en ${VQ312_RECEIPT_SHOTS}/zh)
set_tests_properties(wine_receipt_tests PROPERTIES TIMEOUT 400
  FIXTURES_REQUIRED "winebed;installed;receipt_printer"
  ENVIRONMENT "${VQ312_WINE_ENV};VQ312_RECEIPT_SHOTS=Z:${VQ312_RECEIPT_SHOTS}/en")
add_test(NAME wine_receipt_screenshots_zh COMMAND wine_receipt_tests --gtest_filter=*Screenshots*)
set_tests_properties(wine_receipt_screenshots_zh PROPERTIES TIMEOUT 200 RESOURCE_LOCK wine
  FIXTURES_REQUIRED "winebed;installed;receipt_printer"
  ENVIRONMENT "${VQ312_WINE_ENV};LANG=zh_CN.UTF-8;LC_ALL=zh_CN.UTF-8;VQ312_RECEIPT_SHOTS=Z:${VQ312_RECEIPT_SHOTS}/zh")

add_executable(receipt_bench bench/receipt_bench.cpp)
target_include_directories(receipt_bench PRIVATE ${CMAKE_SOURCE_DIR} ${VQ312_GENERATED})
add_dependencies(receipt_bench vq312_page_layouts)
target_link_libraries(receipt_bench PRIVATE vq312_pages gdi32 user32)
target_link_options(receipt_bench PRIVATE ${VQ312_STATIC_RUNTIME} -municode)

# The console tool's commands, through the same checks as the dialog: an
# export, its import back, a refused file (the page description is no
# receipt colour file) and the list.
set(VQ312_RECEIPT_BIN C:\\windows\\temp\\vq312-ctl-receipt.bin)
set(VQ312_RECEIPT_CTL
  "export|export ${VQ312_RECEIPT_BIN}|Exported [0-9]+ receipt colours"
  "import|import ${VQ312_RECEIPT_BIN}|Imported [0-9]+ receipt colours"
  "refuses|import C:\\windows\\system32\\spool\\drivers\\x64\\3\\vq312.ppd|colours are unchanged"
  "list|list|Receipt colours of")
set(previous wine_receipt_tests)
foreach(row IN LISTS VQ312_RECEIPT_CTL)
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 name)
  list(GET row 1 words)
  list(GET row 2 expected)
  separate_arguments(words)
  add_test(NAME receipt_ctl_${name}
    COMMAND vq312ctl receipt-colours --printer ${VQ312_RECEIPT_PRINTER} ${words})
  set_tests_properties(receipt_ctl_${name} PROPERTIES PASS_REGULAR_EXPRESSION "${expected}"
    FIXTURES_REQUIRED "winebed;installed;receipt_printer" ENVIRONMENT "${VQ312_WINE_ENV}"
    RESOURCE_LOCK wine DEPENDS ${previous})
  set(previous receipt_ctl_${name})
endforeach()
