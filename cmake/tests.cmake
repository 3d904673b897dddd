# qx_test(name layer...): one GoogleTest program from the *.cc files of the
# calling folder, registered with ctest case by case. A folder whose tests
# need the private PostgreSQL cluster sets QX_TEST_NEEDS_POSTGRES first.
function(qx_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE QX_TEST_BINARY_DIR="${CMAKE_BINARY_DIR}"
                                             QX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(QX_TEST_NEEDS_POSTGRES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300
                         FIXTURES_REQUIRED postgres)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()
