# The options of a test program and of the headers it precompiles.
function(qx_test_options name)
  target_compile_options(${name} PRIVATE -O0)
  target_compile_definitions(${name} PRIVATE QX_TEST_BINARY_DIR="${CMAKE_BINARY_DIR}"
                                             QX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endfunction()

# qx_test_pch(): GoogleTest's headers, which every test file parses,
# precompiled once for all test programs by a target of their own, so that
# building one test program builds no other.
function(qx_test_pch)
  # An empty program, compiled as the test programs are (position-independent
  # executable code) for its header to be theirs.
  file(WRITE ${CMAKE_BINARY_DIR}/qx_test_pch.cc "int main() { return 0; }\n")
  add_executable(qx_test_pch ${CMAKE_BINARY_DIR}/qx_test_pch.cc)
  target_link_libraries(qx_test_pch PRIVATE GTest::gtest GTest::gmock)
  qx_test_options(qx_test_pch)
  target_precompile_headers(qx_test_pch PRIVATE <gtest/gtest.h> <gmock/gmock.h>
                            <filesystem> <fstream> <string> <vector>)
endfunction()

# qx_test(name layer...): one GoogleTest program from the *.cc files of the
# calling folder, registered with ctest case by case. A folder whose tests
# need the private PostgreSQL cluster sets QX_TEST_NEEDS_POSTGRES first.
function(qx_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  # A test's own code is a few calls a case: it is built for the time it takes
  # to compile rather than to run (what it tests keeps the layers' options).
  qx_test_options(${name})
  target_precompile_headers(${name} REUSE_FROM qx_test_pch)
  if(QX_TEST_NEEDS_POSTGRES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300
                         FIXTURES_REQUIRED postgres)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()
