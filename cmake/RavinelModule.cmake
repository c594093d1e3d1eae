# A module is one folder of src/core or src/ui built as the static library
# ravinel_<name>. Its headers are included as "<name>/<file>.h", and only by the modules
# that link it: the include folder it hands on holds nothing but a link named after the
# module, so an include of a module that a library does not link is not found and the
# build stops there. A module links only the modules below it (DEPENDS); EXCLUDE names
# sources of the folder that other targets build.
function(ravinel_module name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "QT" "" "DEPENDS;EXCLUDE")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(excluded IN LISTS arg_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(ravinel_${name} STATIC ${sources})
  set(include_dir ${CMAKE_BINARY_DIR}/module_include/${name})
  file(MAKE_DIRECTORY ${include_dir})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${include_dir}/${name} SYMBOLIC)
  target_include_directories(ravinel_${name} PUBLIC ${include_dir})
  target_link_libraries(ravinel_${name} PUBLIC ${arg_DEPENDS})
  if(arg_QT)
    set_target_properties(ravinel_${name} PROPERTIES AUTOMOC ON)
  endif()
endfunction()
