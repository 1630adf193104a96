# Warnings are errors on our own targets only; third-party headers come in as system includes.
function(volt_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -Wshadow)
endfunction()

# A GoogleTest program registered test by test; LABEL is core, ui or e2e.
function(volt_add_gtest name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL core)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE volt_test_support GTest::gmock GTest::gtest_main ${T_LIBS})
  volt_warnings(${name})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${T_LABEL})
  # Discovery splits a list-valued property into separate arguments, which would leave only the
  # first variable in ENVIRONMENT; a script run after the discovered tests are defined sets it.
  set(env_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${env_script}
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT [==[QT_QPA_PLATFORM=offscreen;VOLT_BIN_DIR=${CMAKE_BINARY_DIR}/bin;VOLT_SOURCE_DIR=${PROJECT_SOURCE_DIR}]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${env_script})
endfunction()

# A Qt Test program, one CTest entry, run offscreen.
function(volt_add_qttest name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL ui)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  volt_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ${T_LABEL} TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VOLT_BIN_DIR=${CMAKE_BINARY_DIR}/bin;VOLT_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
