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

# sjis_english_header(<target> <layer> <japanese.txt> <english.txt> <output-name.h> <array>)
#
# Pairs the texts of a table of sjis_text_header with their English texts
# from a parallel table of the same names: a header, included as
# "<layer>/<output-name.h>", whose array <array> holds {Japanese constant,
# English text} for each name.  The build fails when the two tables do not
# name the same texts.
function(sjis_english_header target layer japanese english output array)
  set(gen_root "${CMAKE_CURRENT_BINARY_DIR}/generated")
  set(out "${gen_root}/${layer}/${output}")
  get_filename_component(abs_ja "${japanese}" ABSOLUTE)
  get_filename_component(abs_en "${english}" ABSOLUTE)
  get_filename_component(ja_name "${japanese}" NAME_WE)
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${gen_root}/${layer}"
    COMMAND sjis_header --english ${array} "${abs_ja}" "${abs_en}" "${layer}/${ja_name}.h" "${out}"
    DEPENDS sjis_header "${abs_ja}" "${abs_en}"
    COMMENT "Pairing ${english} with ${japanese}"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
