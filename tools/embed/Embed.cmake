# Embeds files into a static library with a header that gives each as a byte span:
#   shoulu_embed(TARGET lib NAMESPACE ns HEADER name.h ENTRIES Name1 file1 Name2 file2 ...)
# Code includes "<ns>/<name.h>" and calls ns::Name1(). The library is rebuilt when a file changes.
function(shoulu_embed)
  cmake_parse_arguments(E "" "TARGET;NAMESPACE;HEADER" "ENTRIES" ${ARGN})
  list(LENGTH E_ENTRIES entry_count)
  math(EXPR odd "${entry_count} % 2")
  if(entry_count EQUAL 0 OR odd)
    message(FATAL_ERROR "shoulu_embed: ENTRIES takes pairs of a name and a file")
  endif()

  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/${E_TARGET}_embedded)
  set(header ${out_dir}/${E_NAMESPACE}/${E_HEADER})
  set(source ${out_dir}/${E_TARGET}.cpp)
  set(pairs "")
  set(files "")
  math(EXPR last "${entry_count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET E_ENTRIES ${i} name)
    list(GET E_ENTRIES ${j} file)
    get_filename_component(file ${file} ABSOLUTE)
    list(APPEND pairs "${name}=${file}")
    list(APPEND files ${file})
  endforeach()

  file(MAKE_DIRECTORY ${out_dir}/${E_NAMESPACE})
  add_custom_command(
    OUTPUT ${header} ${source}
    COMMAND shoulu_embed --namespace ${E_NAMESPACE} --header ${header}
            --include ${E_NAMESPACE}/${E_HEADER} --source ${source} ${pairs}
    DEPENDS shoulu_embed ${files}
    COMMENT "Embedding ${E_TARGET}"
    VERBATIM)
  add_library(${E_TARGET} STATIC ${source} ${header})
  target_include_directories(${E_TARGET} PUBLIC ${out_dir})
endfunction()
