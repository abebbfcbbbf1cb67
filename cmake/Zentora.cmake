# Settings shared by the project's targets, applied per target.

function(zentora_options target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF POSITION_INDEPENDENT_CODE ON)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(ZENTORA_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(ZENTORA_FUZZ)
    # libFuzzer's coverage in every target; the fuzz targets link its runtime.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# A static library of the program with Qt's code generators switched on.
function(zentora_qt_library target)
  add_library(${target} STATIC ${ARGN})
  zentora_options(${target})
  # Each window's generated class comes from the layout beside its code and
  # is seen by that window alone.
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTOUIC ON)
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/src)
endfunction()

# Copies a file or folder of the source tree into the program's folder,
# leaving everything else there alone (a user's KESAFI32.ini, registration
# files and reports survive every rebuild).
function(zentora_ship target)
  foreach(item IN LISTS ARGN)
    get_filename_component(name ${item} NAME)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${item})
      add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_SOURCE_DIR}/${item} ${ZENTORA_INSTALL_DIR}/${name}
        VERBATIM)
    else()
      add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/${item} ${ZENTORA_INSTALL_DIR}/${name}
        VERBATIM)
    endif()
  endforeach()
endfunction()
