# The overlay form file reader joins the core; the writer and the inspection
# commands are tool code (tools/form), shared by vq312ctl, vq312form, the
# tests and the benchmark.
target_sources(vq312_core PRIVATE ${CMAKE_SOURCE_DIR}/pages/overlay/overlay_form.cpp)
add_library(vq312_form_tools STATIC
  ${CMAKE_SOURCE_DIR}/tools/form/overlay_form_writer.cpp
  ${CMAKE_SOURCE_DIR}/tools/form/form_tool.cpp)
target_include_directories(vq312_form_tools PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vq312_form_tools PUBLIC vq312_core)

if(NOT WIN32)
  add_executable(form_tests ${CMAKE_SOURCE_DIR}/tests/core/form_file_test.cpp)
  target_link_libraries(form_tests PRIVATE vq312_form_tools GTest::gtest_main)
  target_compile_definitions(form_tests PRIVATE
    VQ312_FORM_SAMPLES="${CMAKE_SOURCE_DIR}/tests/data/forms")
  add_test(NAME form_tests COMMAND form_tests)

  # Reads, writes and inspects form files on the build machine; the same
  # commands as vq312ctl form on Windows, plus make for sample files.
  add_executable(vq312form ${CMAKE_SOURCE_DIR}/tools/vq312form/main.cpp)
  target_link_libraries(vq312form PRIVATE vq312_form_tools)

  # Not a test: prints decode time against a memset of the same image. The
  # reader is compiled into it with optimisation whatever the build type.
  add_executable(form_decode_bench
    ${CMAKE_SOURCE_DIR}/bench/form_decode_bench.cpp
    ${CMAKE_SOURCE_DIR}/pages/overlay/overlay_form.cpp
    ${CMAKE_SOURCE_DIR}/tools/form/overlay_form_writer.cpp)
  target_include_directories(form_decode_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(form_decode_bench PRIVATE -O2)

  if(COMMAND vq312_add_fuzzer)
    vq312_add_fuzzer(fuzz_form_file
      SOURCES ${CMAKE_SOURCE_DIR}/fuzz/form_file_fuzz.cpp
              ${CMAKE_SOURCE_DIR}/pages/overlay/overlay_form.cpp
      # The reader tests' sample forms are the seeds.
      CORPUS ${CMAKE_SOURCE_DIR}/tests/data/forms)
  endif()
endif()
