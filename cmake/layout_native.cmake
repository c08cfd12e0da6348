# Dialog layout engine: the portable part and its tests on Linux.
include(${CMAKE_CURRENT_LIST_DIR}/layout.cmake)

add_executable(layout_tests tests/core/dialog_layout_test.cpp)
target_link_libraries(layout_tests PRIVATE vq312_core GTest::gtest_main)
add_test(NAME layout_tests COMMAND layout_tests)

# Redraws the layout tests' icons (committed under tests/wine/layout_icons):
#   layout_make_icons tests/wine/layout_icons
add_executable(layout_make_icons tests/wine/layout_icons/make_icons.cpp)
