# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra)

if(SHOULU_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(SHOULU_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT SHOULU_SANITIZE STREQUAL "")
  message(FATAL_ERROR "SHOULU_SANITIZE must be empty, address or thread")
endif()

# A library target for one layer: shoulu_layer(NAME name SOURCES ... PUBLIC_LIBS ... PRIVATE_LIBS ...)
# Headers are included by their path from the source root, e.g. "platform/os/window.h".
function(shoulu_layer)
  cmake_parse_arguments(L "" "NAME" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${L_NAME} STATIC ${L_SOURCES})
  target_include_directories(${L_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${L_NAME} PUBLIC ${L_PUBLIC_LIBS} PRIVATE ${L_PRIVATE_LIBS})
endfunction()
