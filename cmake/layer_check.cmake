# Fails when a folder of the UI module includes a folder above it. The
# layers, lowest first; each folder may include only those before it (and
# itself). Also fails when code above base/ loads a module by itself: the
# driver's siblings load only through LoadSiblingModule (base/sibling_win.h),
# inside the module's activation context; the one system module loaded by
# path from the registry (the HTML Help control) is named below.
# Run as a script: cmake -DROOT=<source dir> -P layer_check.cmake
set(layers base devinfo settings monitor uicore pages entry)
set(faults 0)
set(rank 0)
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE files ${ROOT}/${layer}/*.cpp ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.inc
       ${ROOT}/${layer}/*.rc)
  foreach(file IN LISTS files)
    file(RELATIVE_PATH relative ${ROOT} ${file})
    if(NOT layer STREQUAL "base" AND NOT relative STREQUAL "uicore/texts_win.cpp")
      file(STRINGS ${file} loads REGEX "LoadLibrary(Ex)?[AW]?[ \t]*\\(")
      foreach(line IN LISTS loads)
        string(STRIP "${line}" line)
        message("${relative}: loads a module outside LoadSiblingModule: ${line}")
        math(EXPR faults "${faults} + 1")
      endforeach()
    endif()
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([a-z_]+)/.*" "\\1" target "${line}")
      list(FIND layers ${target} target_rank)
      if(target_rank GREATER rank)
        message("${relative}: ${layer}/ includes ${target}/, a layer above it")
        math(EXPR faults "${faults} + 1")
      endif()
    endforeach()
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()
list(JOIN layers " -> " order)
message("layers ${order}: ${faults} faults")
if(faults GREATER 0)
  message(FATAL_ERROR "a layer includes one above it, or loads a module by itself")
endif()
