# The pages' templates and tables, generated from pages/layout/*.txt into the
# build tree: page_templates.rc for the UI module, page_layouts.inc for the
# code (and for the native tests that walk the text tables).
file(GLOB VQ312_PAGE_LAYOUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/pages/layout/*.txt)
list(FILTER VQ312_PAGE_LAYOUTS EXCLUDE REGEX "README")
string(REPLACE ";" "," VQ312_PAGE_LAYOUT_ARG "${VQ312_PAGE_LAYOUTS}")
set(VQ312_GENERATED ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${VQ312_GENERATED}/pages)
add_custom_command(
  OUTPUT ${VQ312_GENERATED}/pages/page_templates.rc ${VQ312_GENERATED}/pages/page_layouts.inc
  COMMAND ${CMAKE_COMMAND} "-DLAYOUTS=${VQ312_PAGE_LAYOUT_ARG}"
          -DRC_OUT=${VQ312_GENERATED}/pages/page_templates.rc
          -DINC_OUT=${VQ312_GENERATED}/pages/page_layouts.inc
          -P ${CMAKE_SOURCE_DIR}/cmake/gen_page_layouts.cmake
  DEPENDS ${VQ312_PAGE_LAYOUTS} ${CMAKE_SOURCE_DIR}/cmake/gen_page_layouts.cmake
  COMMENT "Generating the page templates and layout tables"
  VERBATIM)
add_custom_target(vq312_page_layouts
  DEPENDS ${VQ312_GENERATED}/pages/page_templates.rc ${VQ312_GENERATED}/pages/page_layouts.inc)
