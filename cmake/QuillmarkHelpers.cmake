# SPDX-License-Identifier: MIT
# Build helpers shared by every folder.

# Warnings for our own code (as errors when QM_WARNINGS_AS_ERRORS is on);
# sanitizers when asked for.
function(qm_setup_compiler)
  add_compile_options(-Wall -Wextra -Wpedantic)
  # GCC 12 at -O3 reports overlapping copies inside std::basic_string's own
  # operator+ (GCC bug 105329, fixed in GCC 13): a false report about the
  # standard library, not our code, so that check is off there.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    add_compile_options(-Wno-restrict)
  endif()
  if(QM_WARNINGS_AS_ERRORS)
    add_compile_options(-Werror)
  endif()
  add_compile_definitions(QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                          QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
  if(QM_SANITIZE)
    add_compile_options(-fsanitize=${QM_SANITIZE} -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${QM_SANITIZE})
  endif()
endfunction()

# The logic libraries (one per folder) must not depend on Qt at all: they are
# listed here and checked once all targets exist.
set_property(GLOBAL PROPERTY QM_LOGIC_LIBRARIES "")

function(qm_add_logic_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY QM_LOGIC_LIBRARIES ${name})
endfunction()

function(_qm_collect_links target out)
  set(result "")
  if(TARGET ${target})
    get_target_property(type ${target} TYPE)
    get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${target} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    foreach(lib IN LISTS links)
      if(lib AND NOT lib MATCHES "^\\$<")
        list(APPEND result ${lib})
        if(TARGET ${lib} AND NOT lib STREQUAL target)
          _qm_collect_links(${lib} sub)
          list(APPEND result ${sub})
        endif()
      endif()
    endforeach()
  endif()
  list(REMOVE_DUPLICATES result)
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

function(qm_check_logic_libraries)
  get_property(libs GLOBAL PROPERTY QM_LOGIC_LIBRARIES)
  foreach(lib IN LISTS libs)
    _qm_collect_links(${lib} deps)
    foreach(dep IN LISTS deps)
      if(dep MATCHES "^Qt6?::" OR dep MATCHES "libQt6")
        message(FATAL_ERROR "Logic library ${lib} must not depend on ${dep}")
      endif()
    endforeach()
  endforeach()
endfunction()

# One GoogleTest executable, registered with CTest under the given labels.
# WRAPPER runs the test through a command (e.g. umockdev-wrapper). FULL_UNWIND
# records allocation stacks through libraries without frame pointers, so that
# leak suppressions can name the functions that called into them.
function(qm_add_test name)
  cmake_parse_arguments(ARG "FULL_UNWIND" "TIMEOUT" "SOURCES;LIBS;LABELS;WRAPPER;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${ARG_WRAPPER} $<TARGET_FILE:${name}>)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 30)
  endif()
  set(asan "detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1")
  if(ARG_FULL_UNWIND)
    string(APPEND asan ":fast_unwind_on_malloc=0")
  endif()
  set(env
      "ASAN_OPTIONS=${asan}"
      "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
      "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp"
      "QT_QPA_PLATFORM=offscreen"
      "QM_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      ${ARG_ENV})
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT}
                       ENVIRONMENT "${env}")
endfunction()

# LD_PRELOAD value for tests that run under umockdev. Under AddressSanitizer
# the sanitizer's runtime has to come first in the preload list.
function(qm_umockdev_preload out)
  set(preload "libumockdev-preload.so.0")
  if(QM_SANITIZE MATCHES "address")
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libasan.so
                    OUTPUT_VARIABLE asan_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(IS_ABSOLUTE "${asan_runtime}" AND EXISTS "${asan_runtime}")
      set(preload "${asan_runtime}:${preload}")
    endif()
  endif()
  set(${out} "${preload}" PARENT_SCOPE)
endfunction()
