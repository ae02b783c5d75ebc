# quellin_add_gtest(<target> SOURCES ... LIBS ... [RESOURCE_LOCK name])
# Builds a GoogleTest program and registers its cases with CTest. Cross builds register them only
# where the program can run (x86_64 under Wine); discovery then happens at test time. Cases that
# share something with other tests (the GUI tests' Wine desktop) name it as RESOURCE_LOCK.
function(quellin_add_gtest target)
  # Builds without tests (the fuzz and release presets) have no GoogleTest: nothing to add.
  if(NOT QUELLIN_TESTS)
    return()
  endif()
  cmake_parse_arguments(arg "" "RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${arg_SOURCES})
  target_link_libraries(${target} PRIVATE ${arg_LIBS} GTest::gtest_main GTest::gmock)
  if(QUELLIN_CAN_RUN_TESTS)
    set(lock)
    if(arg_RESOURCE_LOCK)
      set(lock RESOURCE_LOCK ${arg_RESOURCE_LOCK})
    endif()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 120 ${lock}
                         TEST_PREFIX "${target}.")
  endif()
endfunction()
