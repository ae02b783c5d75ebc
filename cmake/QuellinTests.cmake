# quellin_add_gtest(<target> SOURCES ... LIBS ...)
# Builds a GoogleTest program and registers its cases with CTest. Cross builds register them only
# where the program can run (x86_64 under Wine); discovery then happens at test time.
function(quellin_add_gtest target)
  # Builds without tests (the fuzz and release presets) have no GoogleTest: nothing to add.
  if(NOT QUELLIN_TESTS)
    return()
  endif()
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${arg_SOURCES})
  target_link_libraries(${target} PRIVATE ${arg_LIBS} GTest::gtest_main GTest::gmock)
  if(QUELLIN_CAN_RUN_TESTS)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 120
                         TEST_PREFIX "${target}.")
  endif()
endfunction()
