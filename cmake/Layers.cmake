# One library per folder, linked downward only. Each library's build first checks that its
# folder includes nothing from a folder above it, so an upward include fails to build.
function(netvane_layer folder)
  cmake_parse_arguments(LAYER "" "" "SOURCES;BELOW" ${ARGN})
  string(REPLACE "/" "_" name "netvane_${folder}")
  set(allowed "")
  foreach(lower IN LISTS LAYER_BELOW)
    string(REPLACE "/" "_" target "netvane_${lower}")
    list(APPEND allowed ${lower})
  endforeach()
  list(JOIN allowed "," allowedText)
  file(GLOB headers "${PROJECT_SOURCE_DIR}/${folder}/*.h")
  set(stamp "${CMAKE_BINARY_DIR}/layers/${name}.checked")
  add_custom_command(OUTPUT "${stamp}"
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DFOLDER=${folder}
            -DALLOWED=${allowedText} -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    DEPENDS ${LAYER_SOURCES} ${headers} ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Checking that ${folder}/ includes only from below")
  if(LAYER_SOURCES)
    add_library(${name} STATIC ${LAYER_SOURCES} "${stamp}")
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    add_custom_target(${name}_check DEPENDS "${stamp}")
    add_dependencies(${name} ${name}_check)
    set(scope INTERFACE)
  endif()
  target_link_libraries(${name} ${scope} netvane_flags)
  foreach(lower IN LISTS LAYER_BELOW)
    string(REPLACE "/" "_" target "netvane_${lower}")
    if(TARGET ${target})
      target_link_libraries(${name} ${scope} ${target})
    endif()
  endforeach()
endfunction()
