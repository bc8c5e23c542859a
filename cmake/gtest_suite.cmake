# Native test executables: GoogleTest, every matching source of one folder, the tests found by
# CTest under a prefix of their own.
find_package(GTest REQUIRED)
include(GoogleTest)

# vt_gtest_suite(NAME FOLDER PATTERN PREFIX LIBRARY...)
function(vt_gtest_suite name folder pattern prefix)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/${pattern})
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${folder})
  gtest_discover_tests(${name} TEST_PREFIX "${prefix}" DISCOVERY_TIMEOUT 30)
endfunction()
