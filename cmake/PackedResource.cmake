# pack_resource(SOURCE OUTPUT_VARIABLE): SOURCE deflate-compressed into a zlib stream
# (level 9, the same bytes for the same file) in the current build folder, named SOURCE's
# name with ".z" appended, for a resource that the program inflates when it uses it
# (inst::PackedResource). Packed while configuring: a change to SOURCE configures again,
# and a packed file whose bytes stay the same keeps its time, so nothing rebuilds for it.
function(pack_resource source out_var)
  get_filename_component(name ${source} NAME)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}.z)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(
    COMMAND python3 -c "import sys, zlib; open(sys.argv[2], 'wb').write(zlib.compress(open(sys.argv[1], 'rb').read(), 9))"
            ${source} ${out}.new
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot pack ${source}")
  endif()
  file(COPY_FILE ${out}.new ${out} ONLY_IF_DIFFERENT)
  file(REMOVE ${out}.new)
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()
