# Build-time tools (the payload writer) run on the build machine, so they are compiled
# with the host's own compiler, outside the cross toolchain.
set(HOST_CXX "c++" CACHE STRING "Compiler for build-time tools")

# add_host_tool(NAME name SOURCES a.cpp b.cpp [INCLUDES dir...] [LIBS -lz ...])
# Defines ${name}_PATH, the tool's path, and a target ${name} that builds it.
function(add_host_tool)
  cmake_parse_arguments(T "" "NAME" "SOURCES;INCLUDES;LIBS" ${ARGN})
  set(out ${CMAKE_BINARY_DIR}/host/${T_NAME})
  set(srcs)
  foreach(s ${T_SOURCES})
    get_filename_component(abs ${s} ABSOLUTE)
    list(APPEND srcs ${abs})
  endforeach()
  set(incs)
  foreach(i ${T_INCLUDES})
    get_filename_component(abs ${i} ABSOLUTE)
    list(APPEND incs -I${abs})
  endforeach()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${HOST_CXX} -std=c++20 -O2 -Wall -Wextra ${incs} ${srcs} ${T_LIBS} -o ${out}
    DEPENDS ${srcs}
    IMPLICIT_DEPENDS CXX ${srcs}
    COMMENT "Building host tool ${T_NAME}"
    VERBATIM)
  add_custom_target(${T_NAME} DEPENDS ${out})
  set(${T_NAME}_PATH ${out} PARENT_SCOPE)
endfunction()
