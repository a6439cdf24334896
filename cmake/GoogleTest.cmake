# Natively GoogleTest comes from the system; a cross build compiles it from Debian's sources
# so that it matches the cross compiler and links statically like the rest.
if(CMAKE_CROSSCOMPILING)
  set(FOLIO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${FOLIO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

# folio_add_test(name SOURCES ... LIBS ... [WINDOW]): one test program, run as one CTest test.
# Under a cross build the emulator runs it in Wine; WINDOW marks tests that need a display,
# which the test script provides for the whole win64 run.
function(folio_add_test name)
  cmake_parse_arguments(T "WINDOW" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  folio_warnings(${name})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(T_WINDOW)
    set_tests_properties(${name} PROPERTIES LABELS window)
  endif()
endfunction()
