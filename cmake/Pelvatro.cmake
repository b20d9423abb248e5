# pelvatro_tests(<name> SOURCES <files...> LIBS <targets...> [SLOW <gtest filter>])
# One GoogleTest executable; every test case runs in a process of its own with a fresh
# state directory and program folder (the test main makes them). The cases SLOW names (whole
# program runs with a live preview, which take minutes under the thread sanitizer) get a
# longer limit than the others' 120 s.
function(pelvatro_tests name)
  cmake_parse_arguments(T "" "SLOW" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} testsupport GTest::gtest GTest::gmock)
  if(T_SLOW)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "-${T_SLOW}" PROPERTIES TIMEOUT 120)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "${T_SLOW}" PROPERTIES TIMEOUT 480)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()

# pelvatro_benchmark(<name> SOURCES <files...> LIBS <targets...>)
function(pelvatro_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(PELVATRO_BENCHMARKS)
    add_executable(${name} ${B_SOURCES})
    target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  endif()
endfunction()

# pelvatro_x11_tests(<name> SOURCES <files...> LIBS <targets...>)
# Tests of the X11 display: they share one Xvfb server (started by the xvfb fixture, one test
# at a time on it) and skip themselves, saying why, when it could not start.
function(pelvatro_x11_tests name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} x11testsupport testsupport GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120 FIXTURES_REQUIRED xvfb RESOURCE_LOCK xvfb
                                  ENVIRONMENT "PELVATRO_TEST_XVFB=${CMAKE_BINARY_DIR}/xvfb")
endfunction()

# pelvatro_fuzz_replay(<name> <seed corpus> SOURCES <fuzz target> LIBS <targets...> [INCLUDES <dirs...>])
# A fuzz target (tools/fuzz.sh fuzzes it) read again by the normal suite: the test
# FuzzReplay.<name> hands it each input of its seed corpus and of the malformed folder beside
# it (<name>-malformed beside <name>-corpus), every input that once broke it.
function(pelvatro_fuzz_replay name corpus)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;INCLUDES" ${ARGN})
  add_executable(${name}_replay ${F_SOURCES} ${PROJECT_SOURCE_DIR}/platform/testsupport/FuzzReplayMain.cpp)
  target_link_libraries(${name}_replay PRIVATE ${F_LIBS})
  target_include_directories(${name}_replay PRIVATE ${F_INCLUDES})
  string(REGEX REPLACE "corpus$" "malformed" malformed ${corpus})
  add_test(NAME FuzzReplay.${name} COMMAND ${name}_replay ${CMAKE_CURRENT_SOURCE_DIR}/${corpus}
                                           ${CMAKE_CURRENT_SOURCE_DIR}/${malformed})
  set_tests_properties(FuzzReplay.${name} PROPERTIES TIMEOUT 120)
endfunction()
