# Proves that every portable file of the product (every source and header
# not named *_win.*) compiles without Windows headers: each .cpp is compiled
# here, and each header through a one-line source that includes it alone.
# Windows programs (the console tool, the sheet host) are Windows files
# throughout and are left out.
file(GLOB_RECURSE VQ312_PORTABLE_FILES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}
  ${CMAKE_SOURCE_DIR}/base/*.cpp ${CMAKE_SOURCE_DIR}/base/*.h
  ${CMAKE_SOURCE_DIR}/settings/*.cpp ${CMAKE_SOURCE_DIR}/settings/*.h
  ${CMAKE_SOURCE_DIR}/devinfo/*.cpp ${CMAKE_SOURCE_DIR}/devinfo/*.h
  ${CMAKE_SOURCE_DIR}/monitor/*.cpp ${CMAKE_SOURCE_DIR}/monitor/*.h
  ${CMAKE_SOURCE_DIR}/uicore/*.cpp ${CMAKE_SOURCE_DIR}/uicore/*.h
  ${CMAKE_SOURCE_DIR}/pages/*.cpp ${CMAKE_SOURCE_DIR}/pages/*.h
  ${CMAKE_SOURCE_DIR}/entry/*.cpp ${CMAKE_SOURCE_DIR}/entry/*.h
  ${CMAKE_SOURCE_DIR}/modules/*.cpp ${CMAKE_SOURCE_DIR}/modules/*.h
  ${CMAKE_SOURCE_DIR}/tools/*.cpp ${CMAKE_SOURCE_DIR}/tools/*.h)
list(FILTER VQ312_PORTABLE_FILES EXCLUDE REGEX "_win\\.(cpp|h)$|^tools/(vq312ctl|sheet_host)/|^modules/(cc|gs)/[a-z]+_main\\.cpp$")
set(VQ312_PORTABLE_SOURCES "")
set(VQ312_HEADER_CHECKS ${CMAKE_BINARY_DIR}/portable_headers)
foreach(f IN LISTS VQ312_PORTABLE_FILES)
  if(f MATCHES "\\.cpp$")
    list(APPEND VQ312_PORTABLE_SOURCES ${CMAKE_SOURCE_DIR}/${f})
  else()
    string(MAKE_C_IDENTIFIER ${f} stem)
    set(check ${VQ312_HEADER_CHECKS}/${stem}.cpp)
    if(NOT EXISTS ${check})
      file(WRITE ${check} "#include \"${f}\"\n")
    endif()
    list(APPEND VQ312_PORTABLE_SOURCES ${check})
  endif()
endforeach()
# Programs with a main of their own compile like the rest; nothing links.
add_library(vq312_portable_check OBJECT ${VQ312_PORTABLE_SOURCES})
target_include_directories(vq312_portable_check PRIVATE ${CMAKE_SOURCE_DIR} ${VQ312_GENERATED})
add_dependencies(vq312_portable_check vq312_page_layouts)
