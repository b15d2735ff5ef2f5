# Packs the payload once more and compares it with the build's, and compiles the resource
# script twice and compares the results. Variables: WRITER DATE ENTRIES BUILT_PAYLOAD
# WINDRES RC ROOT BINARY_ROOT WORK (ROOT and BINARY_ROOT: the source and build trees, where
# the script's includes and generated files are named from).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

execute_process(COMMAND ${WRITER} --date ${DATE} --out ${WORK}/payload.bin ${ENTRIES}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the payload writer failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/payload.bin ${BUILT_PAYLOAD}
                RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "packing the same files again gave other bytes than ${BUILT_PAYLOAD}")
endif()

# windres twice on the same script: the same bytes (no time or path of the run inside).
foreach(n 1 2)
  execute_process(COMMAND ${WINDRES} -I${ROOT} -I${BINARY_ROOT} -O coff ${RC} ${WORK}/Setup${n}.res RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "windres failed: ${rc}")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/Setup1.res ${WORK}/Setup2.res
                RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "compiling Setup.rc twice gave different bytes")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "payload and resources: same bytes")
