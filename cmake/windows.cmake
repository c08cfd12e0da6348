# Windows (mingw-w64) build: the driver package, the console tool and the
# test programs that run under Wine.

# Every module carries its own runtime: only Windows system DLLs may be
# imported (the spooler loads the driver from its own folder, where no
# libstdc++ or libgcc DLL will ever be).
set(VQ312_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
set(VQ312_DIST ${CMAKE_BINARY_DIR}/dist)

function(vq312_module name)
  cmake_parse_arguments(M "" "DEF" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${M_SOURCES} ${M_DEF})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    RUNTIME_OUTPUT_DIRECTORY ${VQ312_DIST})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${M_LIBS})
  target_link_options(${name} PRIVATE ${VQ312_STATIC_RUNTIME} -Wl,--enable-stdcall-fixup
                      -Wl,--fatal-warnings)
endfunction()

vq312_module(VQ312DI
  SOURCES devinfo/difm_win.cpp
  DEF ${CMAKE_SOURCE_DIR}/devinfo/VQ312DI.def
  LIBS vq312_devinfo)

# The UI module's Win32 shell below the pages; the portable core links in
# statically. Layers: base, settings and devinfo, monitor, uicore.
add_library(vq312_win STATIC
  base/module_win.cpp
  base/caller_buffer_win.cpp
  base/text_win.cpp
  base/sibling_win.cpp
  devinfo/difm_loader_win.cpp
  settings/printer_store_win.cpp
  settings/printer_cache_win.cpp
  settings/file_access_win.cpp
  settings/services_win.cpp
  uicore/messages_win.cpp
  uicore/sheet_context_win.cpp
)
# comctl32: the shared name edit subclasses with SetWindowSubclass.
target_link_libraries(vq312_win PUBLIC vq312_core winspool user32 comctl32)

# The property pages and the sheets that assemble them: one folder a page.
add_library(vq312_pages STATIC
  pages/sheet/dialog_win.cpp
  pages/sheet/page_win.cpp
  pages/sheet/sheet_win.cpp
  pages/basic/basic_page_win.cpp
  pages/basic/paper_tip_win.cpp
  pages/colour/colour_page_win.cpp
  pages/cut/cut_page_win.cpp
  pages/overlay/overlay_page_win.cpp
  pages/advanced/advanced_page_win.cpp
  pages/utility/utility_page_win.cpp
)
target_include_directories(vq312_pages PUBLIC ${VQ312_GENERATED})
target_link_libraries(vq312_pages PUBLIC vq312_win comctl32 gdi32 user32)
add_dependencies(vq312_pages vq312_page_layouts)

# The page templates reach the module through VQ312UI.rc alone.
vq312_module(VQ312UI
  SOURCES entry/exports_win.cpp entry/sheets_win.cpp entry/VQ312UI.rc
  DEF ${CMAKE_SOURCE_DIR}/entry/VQ312UI.def
  LIBS vq312_pages)
target_include_directories(VQ312UI PRIVATE ${VQ312_GENERATED} ${CMAKE_SOURCE_DIR}/entry)
set_source_files_properties(entry/VQ312UI.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/entry/VQ312UI.manifest;${VQ312_GENERATED}/pages/page_templates.rc;${VQ312_GENERATED}/pages/control_ids.h")
add_dependencies(VQ312UI vq312_page_layouts)

# The icons and bitmaps of the pages, drawn by iconsmith (a host program
# kept in tools/iconsmith) into VQ312RD.dll.
find_program(VQ312_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
set(VQ312_ICONS ${VQ312_GENERATED}/rd)
file(MAKE_DIRECTORY ${VQ312_ICONS})
add_custom_command(OUTPUT ${VQ312_ICONS}/resources.rc
  COMMAND ${VQ312_HOST_CXX} -std=c++20 -O2 -I${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tools/iconsmith/main.cpp
          -o ${CMAKE_BINARY_DIR}/iconsmith
  COMMAND ${CMAKE_BINARY_DIR}/iconsmith ${VQ312_ICONS}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/iconsmith/main.cpp
          ${CMAKE_SOURCE_DIR}/tools/iconsmith/preview_art.inc
          ${CMAKE_SOURCE_DIR}/tools/iconsmith/head_art.inc
          ${CMAKE_SOURCE_DIR}/uicore/preview_pictures.h
  COMMENT "Drawing the page icons"
  VERBATIM)
vq312_module(VQ312RD SOURCES modules/rd/rd_main_win.cpp ${VQ312_ICONS}/resources.rc)
target_include_directories(VQ312RD PRIVATE ${VQ312_ICONS})

# Stand-in for the colour preview module: loadable, so the
# sheets open; the page that calls into it brings its functions.
vq312_module(VQ312CC SOURCES modules/cc/cc_main.cpp)

configure_file(package/vq312.inf ${VQ312_DIST}/vq312.inf COPYONLY)
configure_file(package/vq312.ppd ${VQ312_DIST}/vq312.ppd COPYONLY)

# The administrator's console tool.
add_executable(vq312ctl
  tools/vq312ctl/main.cpp
  tools/vq312ctl/describe.cpp
  tools/vq312ctl/install.cpp
  tools/vq312ctl/show.cpp
  tools/vq312ctl/caps.cpp
  tools/vq312ctl/form.cpp
  tools/vq312ctl/prefs.cpp
  tools/vq312ctl/list_export_import.cpp
  tools/sheet_host/sheet_host_win.cpp
)
target_include_directories(vq312ctl PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vq312ctl PRIVATE vq312_win vq312_form_tools comctl32 gdi32 user32)
target_link_options(vq312ctl PRIVATE ${VQ312_STATIC_RUNTIME} -municode)
set_target_properties(vq312ctl PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VQ312_DIST})


# The help file, compiled from the pages in help/.
file(GLOB VQ312_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/help)
add_custom_command(OUTPUT ${VQ312_DIST}/VQ312.chm
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${CMAKE_BINARY_DIR}/help
  COMMAND chmcmd vq312.hhp > chmcmd.log
  COMMAND ${CMAKE_COMMAND} -E copy VQ312.chm ${VQ312_DIST}/VQ312.chm
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/help
  DEPENDS ${VQ312_HELP_SOURCES}
  COMMENT "Compiling the help file")
add_custom_target(vq312_help ALL DEPENDS ${VQ312_DIST}/VQ312.chm)

include(cmake/wine_tests.cmake)
include(cmake/status_monitor.cmake OPTIONAL)
include(cmake/layout.cmake)
include(cmake/texts.cmake)
