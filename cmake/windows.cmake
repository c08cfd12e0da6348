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
  target_link_options(${name} PRIVATE ${VQ312_STATIC_RUNTIME} -Wl,--enable-stdcall-fixup)
endfunction()

vq312_module(VQ312DI
  SOURCES devinfo/difm_win.cpp
  DEF ${CMAKE_SOURCE_DIR}/devinfo/VQ312DI.def
  LIBS vq312_devinfo)

# The UI module's Win32 shell; the portable core links in statically.
add_library(vq312_win STATIC
  entry/module_win.cpp
  entry/caller_buffer_win.cpp
  settings/printer_store_win.cpp
  settings/printer_cache_win.cpp
  uicore/messages_win.cpp
)
target_link_libraries(vq312_win PUBLIC vq312_core winspool user32)

vq312_module(VQ312UI
  SOURCES entry/exports_win.cpp
  DEF ${CMAKE_SOURCE_DIR}/entry/VQ312UI.def
  LIBS vq312_win)

configure_file(package/vq312.inf ${VQ312_DIST}/vq312.inf COPYONLY)
configure_file(package/vq312.ppd ${VQ312_DIST}/vq312.ppd COPYONLY)

# The administrator's console tool.
add_executable(vq312ctl
  tools/vq312ctl/main.cpp
  tools/vq312ctl/install.cpp
  tools/vq312ctl/show.cpp
  tools/vq312ctl/caps.cpp
)
target_include_directories(vq312ctl PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vq312ctl PRIVATE vq312_win)
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
