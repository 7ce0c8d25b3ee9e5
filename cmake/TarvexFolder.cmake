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

# tarvex_test(NAME <name> SOURCES <files...> DEPENDS <targets...>
#             [LABELS <labels...>] [SLOW <test name patterns...>])
# One GoogleTest executable, registered with CTest test by test. LABELS choose
# the sets `ctest -L` runs: `unit` (rules and components, no window), `window`
# (drives windows), `slow` (runs for more than a few seconds). Without LABELS a
# test that links the window harness is `window`, any other `unit`. Tests whose
# names match one of the SLOW patterns (regular expressions) are also `slow`.
function(tarvex_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPENDS;LABELS;SLOW" ${ARGN})
  if(NOT ARG_LABELS)
    if(tarvex_window_harness IN_LIST ARG_DEPENDS)
      set(ARG_LABELS window)
    else()
      set(ARG_LABELS unit)
    endif()
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_compile_options(${ARG_NAME} PRIVATE ${TARVEX_WARNINGS})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60)
  # The tests' properties are set after discovery, from the list of names it
  # leaves in <name>_TESTS: gtest_discover_tests' own PROPERTIES would cut a
  # list value (two environment variables, two labels) at its ";". The time
  # limit is ctest's --timeout, which the build scripts raise for the
  # sanitized build.
  string(JOIN "|" slow_pattern ${ARG_SLOW})
  set(properties_file "${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}_properties.cmake")
  file(WRITE "${properties_file}" "\
if(${ARG_NAME}_TESTS)
  set_tests_properties(\${${ARG_NAME}_TESTS} PROPERTIES
    ENVIRONMENT \"QT_QPA_PLATFORM=offscreen;TARVEX_AUDIO_OUTPUT=null\"
    LABELS \"${ARG_LABELS}\")
  set(slow_pattern [==[${slow_pattern}]==])
  if(slow_pattern)
    foreach(test IN LISTS ${ARG_NAME}_TESTS)
      if(test MATCHES \"^(\${slow_pattern})$\")
        set_tests_properties(\${test} PROPERTIES LABELS \"${ARG_LABELS};slow\")
      endif()
    endforeach()
  endif()
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${properties_file}")
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
