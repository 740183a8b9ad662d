# relvan_add_test(NAME SOURCES... [POSIX_ONLY] [BARE])
# One GoogleTest executable per module, registered with CTest. On the cross
# build CTest runs it through Wine (CMAKE_CROSSCOMPILING_EMULATOR). BARE
# leaves out the test support library (and all it links): the test links
# only what it names itself.
if(CMAKE_CROSSCOMPILING)
  add_subdirectory(${PROJECT_SOURCE_DIR}/cmake/googletest ${PROJECT_BINARY_DIR}/googletest)
  set(RELVAN_GTEST_MAIN gtest_main)
else()
  find_package(GTest REQUIRED)
  set(RELVAN_GTEST_MAIN GTest::gtest_main)
endif()

function(relvan_add_test name)
  cmake_parse_arguments(ARG "POSIX_ONLY;BARE" "" "" ${ARGN})
  if(ARG_POSIX_ONLY AND WIN32)
    return()
  endif()
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${RELVAN_GTEST_MAIN})
  if(NOT ARG_BARE)
    target_link_libraries(${name} PRIVATE relvan_test_support)
  endif()
  add_test(NAME ${name} COMMAND ${name})
endfunction()
