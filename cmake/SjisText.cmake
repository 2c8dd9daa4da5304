# sjis_text_header(<target> <layer> <input.txt> <output-name.h>)
#
# Turns a UTF-8 table of named texts (NAME = text) into a header of
# std::string_view constants holding the same texts as Shift-JIS bytes, so
# that sources keep their Japanese texts readable while the engine works on
# Shift-JIS only.  The header is generated into the build tree and included
# as "<layer>/<output-name.h>" by the target and its users.
function(sjis_text_header target layer input output)
  set(gen_root "${CMAKE_CURRENT_BINARY_DIR}/generated")
  set(out "${gen_root}/${layer}/${output}")
  get_filename_component(abs_in "${input}" ABSOLUTE)
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${gen_root}/${layer}"
    COMMAND sjis_header "${abs_in}" "${out}"
    DEPENDS sjis_header "${abs_in}"
    COMMENT "Converting ${input} to Shift-JIS"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
  target_include_directories(${target} PUBLIC "${gen_root}")
endfunction()
