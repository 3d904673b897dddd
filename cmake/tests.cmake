# qx_test(name layer...): one GoogleTest program from the *.cc files of the
# calling folder, registered with ctest case by case. A folder whose tests
# need the private PostgreSQL cluster sets QX_TEST_NEEDS_POSTGRES first.
function(qx_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE QX_TEST_BINARY_DIR="${CMAKE_BINARY_DIR}"
                                             QX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # A test's own code is a few calls a case: it is built for the time it takes
  # to compile rather than to run (what it tests keeps the layers' options),
  # and GoogleTest's headers, which every test file parses, are precompiled
  # once, by the first test program, for all of them.
  target_compile_options(${name} PRIVATE -O0)
  get_property(pch_owner GLOBAL PROPERTY QX_TEST_PCH_OWNER)
  if(pch_owner)
    target_precompile_headers(${name} REUSE_FROM ${pch_owner})
  else()
    target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <gmock/gmock.h>
                              <filesystem> <fstream> <string> <vector>)
    set_property(GLOBAL PROPERTY QX_TEST_PCH_OWNER ${name})
  endif()
  if(QX_TEST_NEEDS_POSTGRES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300
                         FIXTURES_REQUIRED postgres)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()
