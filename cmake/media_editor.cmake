# The custom media type editor: its decisions join the core; on Windows the
# dialog joins the pages, `vq312ctl media` the console tool, and the Wine
# test drives the dialog; natively a table test and a fuzzer over the
# stored table.
target_sources(vq312_core PRIVATE ${CMAKE_SOURCE_DIR}/pages/utility/media_editor.cpp)

if(WIN32)
  target_sources(vq312_pages PRIVATE ${CMAKE_SOURCE_DIR}/pages/utility/media_editor_win.cpp)
  target_sources(vq312ctl PRIVATE ${CMAKE_SOURCE_DIR}/tools/vq312ctl/media.cpp)

  vq312_wine_test(wine_media_editor_tests
    SOURCES tests/wine/media_editor_test.cpp tests/wine/installed_printer.cpp
            tools/sheet_host/sheet_host_win.cpp
    LIBS vq312_pages vq312_win comctl32 gdi32 user32)
  target_include_directories(wine_media_editor_tests PRIVATE ${VQ312_GENERATED})
  add_dependencies(wine_media_editor_tests vq312_page_layouts VQ312UI vq312ctl)
else()
  add_executable(media_editor_tests ${CMAKE_SOURCE_DIR}/tests/core/media_editor_test.cpp
                 ${CMAKE_SOURCE_DIR}/tests/core/test_printer.cpp)
  target_include_directories(media_editor_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(media_editor_tests PRIVATE vq312_core vq312_devinfo GTest::gtest_main)
  add_test(NAME media_editor_tests COMMAND media_editor_tests)

  if(COMMAND vq312_add_fuzzer)
    vq312_add_fuzzer(fuzz_media_table
      SOURCES ${CMAKE_SOURCE_DIR}/fuzz/media_table_fuzz.cpp
              ${CMAKE_SOURCE_DIR}/pages/utility/media_editor.cpp
              ${CMAKE_SOURCE_DIR}/pages/basic/favourites.cpp ${VQ312_CORE_SOURCES}
      CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/media_table)
  endif()
endif()

if(WIN32)
  # The utility page's button opens the editor in the real device sheet:
  # `vq312ctl props --screenshots` clicks it and saves what opened, which
  # must be the editor (taller than any message box), not a message.
  set(VQ312_MEDIA_SHOTS ${CMAKE_BINARY_DIR}/screenshots/media-editor)
  file(MAKE_DIRECTORY ${VQ312_MEDIA_SHOTS})
  add_test(NAME media_editor_from_utility_page
    COMMAND sh -c "rm -f \"$1\"/*.bmp && \"$0\" \"$2\" props --screenshots \"Z:$1\" && test $(identify -format %h \"$1/dialog-media-editor.bmp\") -ge 400"
            ${CMAKE_SOURCE_DIR}/tests/wine/wine-run ${VQ312_MEDIA_SHOTS} ${VQ312_DIST}/vq312ctl.exe)
  set_tests_properties(media_editor_from_utility_page PROPERTIES
    FIXTURES_REQUIRED "winebed;installed" ENVIRONMENT "${VQ312_WINE_ENV}" RESOURCE_LOCK wine)
endif()
