# tarvex_folder_library(NAME <target> [DEPENDS <targets...>])
# Builds every .cpp below the calling folder into one static library. A
# sub-folder with a CMakeLists.txt of its own is a library of its own and is
# left out; a plain sub-folder belongs to the library of the folder above it.
# A folder that holds no code yet still gets its target (an interface
# library), so the link lines of the folders above stay the same as code
# arrives.
set(TARVEX_WARNINGS -Wall -Wextra -Werror)

function(tarvex_folder_library)
  cmake_parse_arguments(ARG "" "NAME" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
       "${CMAKE_CURRENT_SOURCE_DIR}/*.qrc")
  file(GLOB_RECURSE own_lists CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt")
  foreach(list_file IN LISTS own_lists)
    get_filename_component(library_folder "${list_file}" DIRECTORY)
    set(kept "")
    foreach(file IN LISTS sources)
      string(FIND "${file}" "${library_folder}/" at)
      if(NOT at EQUAL 0)
        list(APPEND kept "${file}")
      endif()
    endforeach()
    set(sources ${kept})
  endforeach()
  set(has_code FALSE)
  foreach(file IN LISTS sources)
    if(file MATCHES "\\.cpp$")
      set(has_code TRUE)
    endif()
  endforeach()
  if(has_code)
    add_library(${ARG_NAME} STATIC ${sources})
    target_include_directories(${ARG_NAME} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_compile_options(${ARG_NAME} PRIVATE ${TARVEX_WARNINGS})
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# tarvex_test(NAME <name> SOURCES <files...> DEPENDS <targets...>)
# One GoogleTest executable, registered with CTest test by test.
function(tarvex_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_compile_options(${ARG_NAME} PRIVATE ${TARVEX_WARNINGS})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${ARG_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVEX_AUDIO_OUTPUT=null"
               TIMEOUT 300)
endfunction()

# tarvex_require_core_only(<targets...>)
# Stops the configuration when one of the targets reaches Qt Gui, Widgets or
# Multimedia through its link line, so the core stays usable without a window.
function(tarvex_require_core_only)
  foreach(target IN LISTS ARGN)
    set(pending ${target})
    set(seen "")
    while(pending)
      list(POP_FRONT pending current)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" current "${current}")
      if(current IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${current})
      if(current MATCHES "^Qt6?::(Gui|Widgets|Multimedia)$")
        message(FATAL_ERROR "${target} must link Qt Core only, but reaches ${current}")
      endif()
      if(TARGET ${current})
        get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
        if(links)
          list(APPEND pending ${links})
        endif()
      endif()
    endwhile()
  endforeach()
endfunction()
