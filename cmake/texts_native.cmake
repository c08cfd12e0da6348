# Texts, messages and help in the native build: the portable text routines
# and the tests of the text catalogue against what the pages ask for, and of
# the help sources against the topics the pages open.
target_sources(vq312_core PRIVATE uicore/texts.cpp)

add_executable(texts_tests tests/core/texts_test.cpp)
target_link_libraries(texts_tests PRIVATE vq312_core vq312_devinfo GTest::gtest_main)
target_compile_definitions(texts_tests PRIVATE VQ312_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_test(NAME texts_tests COMMAND texts_tests)
