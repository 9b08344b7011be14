# One place that registers every test with the environment all of them share:
# no display, a private HOME (so no test touches the user's registry or demo
# database) and UTF-8.
function(talvexor_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set(home ${CMAKE_BINARY_DIR}/test-home/${name})
  file(MAKE_DIRECTORY ${home})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_DATA_HOME=${home}/.local/share;XDG_CONFIG_HOME=${home}/.config;XDG_RUNTIME_DIR=${home};LANG=C.UTF-8;LC_ALL=C.UTF-8;TALVEXOR_BIN_DIR=${CMAKE_BINARY_DIR}/bin;TALVEXOR_LIB_DIR=${CMAKE_BINARY_DIR}/lib;TALVEXOR_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
