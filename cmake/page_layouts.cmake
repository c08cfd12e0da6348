# The pages' templates, control ids and tables, generated from each page's
# pages/<page>/<page>_layout.txt into the build tree: page_templates.rc for the
# UI module, control_ids.h for the .rc files and C++ alike, page_layouts.inc
# for the code (and for the native tests that walk the text tables).
file(GLOB VQ312_PAGE_LAYOUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/pages/*/*_layout.txt)
list(SORT VQ312_PAGE_LAYOUTS)
string(REPLACE ";" "," VQ312_PAGE_LAYOUT_ARG "${VQ312_PAGE_LAYOUTS}")
set(VQ312_GENERATED ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${VQ312_GENERATED}/pages)
set(VQ312_PAGE_OUTPUTS ${VQ312_GENERATED}/pages/page_templates.rc
    ${VQ312_GENERATED}/pages/page_layouts.inc ${VQ312_GENERATED}/pages/control_ids.h)
add_custom_command(
  OUTPUT ${VQ312_PAGE_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} "-DLAYOUTS=${VQ312_PAGE_LAYOUT_ARG}"
          -DRC_OUT=${VQ312_GENERATED}/pages/page_templates.rc
          -DINC_OUT=${VQ312_GENERATED}/pages/page_layouts.inc
          -DIDS_OUT=${VQ312_GENERATED}/pages/control_ids.h
          -P ${CMAKE_SOURCE_DIR}/cmake/gen_page_layouts.cmake
  DEPENDS ${VQ312_PAGE_LAYOUTS} ${CMAKE_SOURCE_DIR}/cmake/gen_page_layouts.cmake
  COMMENT "Generating the page templates, control ids and layout tables"
  VERBATIM)
add_custom_target(vq312_page_layouts DEPENDS ${VQ312_PAGE_OUTPUTS})
