# Test registration. Each GoogleTest program is one CTest test that writes
# its own XML report; scripts/test counts the cases in those reports. In the
# Windows tree the tests run through Wine (the cross-compiling emulator) with
# a private prefix that a setup fixture starts and a cleanup fixture stops.

set(PELLMARK_RESULTS_DIR ${CMAKE_BINARY_DIR}/test-results)
file(MAKE_DIRECTORY ${PELLMARK_RESULTS_DIR})

if(PELLMARK_TESTS)
  enable_testing()
  if(WIN32)
    # GoogleTest built from Debian's sources with the cross compiler.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    set(PELLMARK_GTEST_LIBS gtest gmock)
    set(PELLMARK_GTEST_MAIN gtest_main)
  else()
    find_package(GTest REQUIRED)
    set(PELLMARK_GTEST_LIBS GTest::gtest GTest::gmock)
    set(PELLMARK_GTEST_MAIN GTest::gtest_main)
  endif()
endif()

if(WIN32 AND PELLMARK_TESTS AND PELLMARK_ARCH STREQUAL "x86_64")
  set(PELLMARK_RUN_TESTS ON)
  find_program(PELLMARK_WINE64 wine64 PATHS /usr/lib/wine /usr/bin NO_DEFAULT_PATH REQUIRED)
  find_program(PELLMARK_WINESERVER wineserver PATHS /usr/lib/wine /usr/bin NO_DEFAULT_PATH REQUIRED)
  set(PELLMARK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(PELLMARK_WINE_ENV
      WINEPREFIX=${PELLMARK_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
      WINESERVER=${PELLMARK_WINESERVER})
  set(CMAKE_CROSSCOMPILING_EMULATOR env ${PELLMARK_WINE_ENV} ${PELLMARK_WINE64})
  set(PELLMARK_WINE_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/wine/prefix)

  # The prefix is made once by the build, never by a test.
  add_custom_command(
    OUTPUT ${PELLMARK_WINEPREFIX}/system.reg
    COMMAND env ${PELLMARK_WINE_ENV} WINE64=${PELLMARK_WINE64} ${PELLMARK_WINE_SCRIPT} create
    COMMENT "Creating the private Wine prefix"
    VERBATIM)
  add_custom_target(wineprefix ALL DEPENDS ${PELLMARK_WINEPREFIX}/system.reg)

  add_test(NAME wine.start COMMAND env ${PELLMARK_WINE_ENV} WINE64=${PELLMARK_WINE64} ${PELLMARK_WINE_SCRIPT} start)
  add_test(NAME wine.stop COMMAND env ${PELLMARK_WINE_ENV} WINE64=${PELLMARK_WINE64} ${PELLMARK_WINE_SCRIPT} stop)
  set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine LABELS infrastructure)
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine LABELS infrastructure)
elseif(PELLMARK_TESTS AND NOT WIN32)
  set(PELLMARK_RUN_TESTS ON)
else()
  set(PELLMARK_RUN_TESTS OFF)
endif()

# Path of a build-tree file as the program under test sees it.
function(pellmark_test_path out path)
  if(WIN32)
    set(${out} "Z:${path}" PARENT_SCOPE)
  else()
    set(${out} "${path}" PARENT_SCOPE)
  endif()
endfunction()

# pellmark_add_gtest(NAME name SOURCES ... LIBS ... [NO_MAIN])
function(pellmark_add_gtest)
  cmake_parse_arguments(T "NO_MAIN" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${PELLMARK_GTEST_LIBS})
  # GoogleTest's headers are most of a test file's compile time: compiled
  # once per test program instead of once per file.
  target_precompile_headers(${T_NAME} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:<gtest/gtest.h$<ANGLE-R>>")
  if(NOT T_NO_MAIN)
    target_link_libraries(${T_NAME} PRIVATE ${PELLMARK_GTEST_MAIN})
  endif()
  if(PELLMARK_RUN_TESTS)
    pellmark_test_path(xml ${PELLMARK_RESULTS_DIR}/${T_NAME}.xml)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_output=xml:${xml})
    if(WIN32)
      set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine)
    endif()
  endif()
endfunction()

# A test that is a plain command (counted as one case); runs in the Windows
# tree only when it needs no Wine or names the emulator itself.
function(pellmark_add_command_test name)
  if(PELLMARK_RUN_TESTS)
    add_test(NAME ${name} COMMAND ${ARGN})
    if(WIN32)
      set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
    endif()
  endif()
endfunction()
