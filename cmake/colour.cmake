# The colour page, its adjustment dialog and the colour preview module
# VQ312CC.dll. The renderer is portable: VQ312CC.dll wraps it, the native
# build tests and fuzzes it, and the sample-picture tool prints its picture's
# grayscale twin with it.
target_sources(vq312_core PRIVATE ${CMAKE_SOURCE_DIR}/pages/colour/colour_rules.cpp)
set(VQ312_COLOUR_RENDERER ${CMAKE_SOURCE_DIR}/modules/cc/colour_preview.cpp)

if(WIN32)
  target_sources(VQ312CC PRIVATE ${VQ312_COLOUR_RENDERER} ${CMAKE_SOURCE_DIR}/modules/cc/VQ312CC.def)
  target_compile_options(VQ312CC PRIVATE -O2)
  target_sources(vq312_pages PRIVATE ${CMAKE_SOURCE_DIR}/pages/colour/colour_adjust_win.cpp
                 ${CMAKE_SOURCE_DIR}/pages/colour/gradient_bar_win.cpp)

  # The preview picture ("BIN" 397) and its grayscale twin (bitmap 395),
  # drawn on the build machine into VQ312RD.dll.
  set(VQ312_COLOUR_SAMPLE ${VQ312_GENERATED}/colour)
  file(MAKE_DIRECTORY ${VQ312_COLOUR_SAMPLE})
  add_custom_command(OUTPUT ${VQ312_COLOUR_SAMPLE}/colour_resources.rc
    COMMAND ${VQ312_HOST_CXX} -std=c++20 -O2 -I${CMAKE_SOURCE_DIR}
            ${CMAKE_SOURCE_DIR}/tools/colour_sample/main.cpp ${VQ312_COLOUR_RENDERER}
            -o ${CMAKE_BINARY_DIR}/colour_sample
    COMMAND ${CMAKE_BINARY_DIR}/colour_sample ${VQ312_COLOUR_SAMPLE}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/colour_sample/main.cpp ${VQ312_COLOUR_RENDERER}
            ${CMAKE_SOURCE_DIR}/modules/cc/colour_preview.h
    COMMENT "Drawing the colour preview's picture"
    VERBATIM)
  target_sources(VQ312RD PRIVATE ${VQ312_COLOUR_SAMPLE}/colour_resources.rc)
  target_include_directories(VQ312RD PRIVATE ${VQ312_COLOUR_SAMPLE})

  vq312_wine_test(wine_colour_tests
    SOURCES tests/wine/colour_test.cpp tests/wine/installed_printer.cpp tests/wine/wine_main.cpp
            tools/sheet_host/sheet_host_win.cpp
    LIBS vq312_win comctl32 gdi32 user32)
  target_include_directories(wine_colour_tests PRIVATE ${VQ312_GENERATED})
  add_dependencies(wine_colour_tests vq312_page_layouts)

  add_executable(colour_bench bench/colour_bench.cpp tests/wine/installed_printer.cpp
                 tools/sheet_host/sheet_host_win.cpp)
  target_include_directories(colour_bench PRIVATE ${CMAKE_SOURCE_DIR} ${VQ312_GENERATED})
  add_dependencies(colour_bench vq312_page_layouts)
  target_link_libraries(colour_bench PRIVATE vq312_win comctl32 gdi32 user32)
  target_link_options(colour_bench PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
else()
  add_executable(colour_tests tests/core/colour_test.cpp ${VQ312_COLOUR_RENDERER})
  target_link_libraries(colour_tests PRIVATE vq312_core GTest::gtest_main)
  add_test(NAME colour_tests COMMAND colour_tests)

  if(COMMAND vq312_add_fuzzer)
    vq312_add_fuzzer(fuzz_colour_preview
      SOURCES fuzz/colour_preview_fuzz.cpp ${VQ312_COLOUR_RENDERER}
      CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/colour_preview)
  endif()
endif()
