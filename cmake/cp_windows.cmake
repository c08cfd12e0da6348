# Windows side of cmake/cp.cmake: the favourites, summary and version
# dialogs and the custom paper call side join the pages; VQ312CP.dll; their
# Wine tests.
target_sources(vq312_pages PRIVATE
  ${CMAKE_SOURCE_DIR}/pages/basic/favourites_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/basic/settings_list_win.cpp
  ${CMAKE_SOURCE_DIR}/pages/basic/custom_paper_win.cpp)

# `vq312ctl favourites` (list, export, import) and `vq312ctl papers` (list, add, delete).
# `vq312ctl prefs --screenshots` also saves the basic page's dialogs.
target_sources(vq312ctl PRIVATE ${CMAKE_SOURCE_DIR}/tools/vq312ctl/favourites.cpp
               ${CMAKE_SOURCE_DIR}/tools/vq312ctl/papers.cpp
               ${CMAKE_SOURCE_DIR}/tools/sheet_host/dialog_shots_win.cpp)

vq312_module(VQ312CP
  SOURCES ${CMAKE_SOURCE_DIR}/modules/cp/cp_main_win.cpp ${CMAKE_SOURCE_DIR}/modules/cp/cp.rc
  DEF ${CMAKE_SOURCE_DIR}/modules/cp/VQ312CP.def
  LIBS vq312_core winspool user32)
add_dependencies(VQ312CP vq312_page_layouts)

# The dialogs driven by messages: the test program links the pages' code and
# takes the templates from the installed VQ312UI.dll (see tests/wine/cp_test.cpp).
# Screenshots of each dialog, once per UI language, go to screenshots/.
add_executable(wine_cp_tests tests/wine/cp_test.cpp tests/wine/installed_printer.cpp
               tools/sheet_host/sheet_host_win.cpp)
target_include_directories(wine_cp_tests PRIVATE ${CMAKE_SOURCE_DIR} ${VQ312_GENERATED})
add_dependencies(wine_cp_tests vq312_page_layouts)
target_link_libraries(wine_cp_tests PRIVATE gtest vq312_pages vq312_win vq312_simprinter comctl32 gdi32 user32)
target_link_options(wine_cp_tests PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
add_test(NAME wine_cp_tests COMMAND wine_cp_tests --gtest_filter=-Dialogs.Screens)
set_tests_properties(wine_cp_tests PROPERTIES
  FIXTURES_REQUIRED "winebed;installed" ENVIRONMENT "${VQ312_WINE_ENV}" RESOURCE_LOCK wine)
foreach(lang en zh)
  set(locale en_US.UTF-8)
  if(lang STREQUAL zh)
    set(locale zh_CN.UTF-8)
  endif()
  add_test(NAME wine_cp_screens_${lang} COMMAND wine_cp_tests --gtest_filter=Dialogs.Screens ${lang})
  set_tests_properties(wine_cp_screens_${lang} PROPERTIES FIXTURES_REQUIRED "winebed;installed"
    RESOURCE_LOCK wine ENVIRONMENT "${VQ312_WINE_ENV};LANG=${locale};LC_ALL=${locale}")
endforeach()
