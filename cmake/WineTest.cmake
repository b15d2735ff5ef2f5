# add_wine_test(NAME name SOURCES ... [LIBS ...] [TIMEOUT s] [SMALL_DRIVE])
# One GoogleTest program per module; ctest runs it once through Wine, so a test
# program pays for one Wine start however many cases it holds. SMALL_DRIVE runs it
# through tests/common/with-small-drive, which mounts a small tmpfs behind drive f:.
function(add_wine_test)
  cmake_parse_arguments(T "SMALL_DRIVE" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(T_SMALL_DRIVE)
    add_small_drive_test(${T_NAME} $<TARGET_FILE:${T_NAME}>)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()

# add_small_drive_test(name program [arguments...]): the test program run under Wine with
# the small drive mounted; one such test at a time, since they share the drive.
function(add_small_drive_test name)
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/common/with-small-drive ${ARGN})
  set_tests_properties(${name} PROPERTIES RESOURCE_LOCK small_drive)
endfunction()
