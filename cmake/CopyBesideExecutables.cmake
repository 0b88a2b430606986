# Copies files into a folder next to the executables at build time, as target `target`:
# the program finds its help texts and examples through its own folder.
function(tonvek_copy_beside_executables target folder)
  set(outputs)
  foreach(f IN LISTS ARGN)
    get_filename_component(name ${f} NAME)
    set(out ${CMAKE_BINARY_DIR}/bin/${folder}/${name})
    add_custom_command(OUTPUT ${out} COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${out} DEPENDS ${f})
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
  install(FILES ${ARGN} DESTINATION bin/${folder})
endfunction()
