# add_payload_resource(TARGET tgt OUTPUT name DATE YYYY-MM-DDTHH:MM:SS ENTRIES NAME=PATH ...
#                      [DEPENDS files...])
# Packs the entries with the payload writer and links them into tgt (link_payload_resource).
function(add_payload_resource)
  cmake_parse_arguments(P "" "TARGET;OUTPUT;DATE" "ENTRIES;DEPENDS" ${ARGN})
  set(bin ${CMAKE_CURRENT_BINARY_DIR}/${P_OUTPUT}.bin)
  set(paths)
  foreach(e ${P_ENTRIES})
    string(REGEX REPLACE "^[^=]*=" "" p "${e}")
    list(APPEND paths ${p})
  endforeach()
  add_custom_command(OUTPUT ${bin}
    COMMAND ${PAYLOAD_WRITER} --date ${P_DATE} --out ${bin} ${P_ENTRIES}
    DEPENDS payload-writer ${PAYLOAD_WRITER} ${paths} ${P_DEPENDS}
    COMMENT "Packing payload ${P_OUTPUT}"
    VERBATIM)
  link_payload_resource(${P_TARGET} ${bin})
endfunction()

# link_payload_resource(tgt file.bin): links a packed payload into tgt as its resource of
# type "FILES" and name "FILES", the one place where the program looks for its payload.
function(link_payload_resource tgt bin)
  get_filename_component(name ${bin} NAME_WE)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
  file(WRITE ${rc}.in "#include \"resources/SetupResources.h\"\nPAYLOAD_FILES PAYLOAD_FILES \"${bin}\"\n")
  configure_file(${rc}.in ${rc} COPYONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${bin})
  target_sources(${tgt} PRIVATE ${rc})
endfunction()
