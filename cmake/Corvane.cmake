# Shared build settings and the helpers every module uses.

set(CORVANE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

add_library(corvane_warnings INTERFACE)
target_compile_options(corvane_warnings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wpedantic)
# GCC 12 reports impossible overlaps inside std::string concatenation (its
# bug 105329); the warning has no true positives in this code base.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(corvane_warnings INTERFACE -Wno-restrict)
endif()
if(CORVANE_WERROR)
  target_compile_options(corvane_warnings INTERFACE -Werror)
endif()

if(CORVANE_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # A setup must run on a bare system: no MinGW runtime DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# GoogleTest: Debian's source tree, built by whichever compiler this build uses.
if(CORVANE_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# corvane_portable_library(NAME SOURCES...): code above platform/, built everywhere.
function(corvane_portable_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CORVANE_ROOT})
  target_link_libraries(${name} PRIVATE corvane_warnings)
endfunction()

# corvane_test(NAME SOURCES... [LIBS libs...] [WINE_ONLY]): a GoogleTest program.
# Natively each test case is its own CTest entry; under Wine the whole program is
# one entry, because listing its cases would need a Wine prefix at build time.
function(corvane_test name)
  cmake_parse_arguments(T "WINE_ONLY;NEEDS_DISPLAY" "TIMEOUT" "LIBS" ${ARGN})
  if(NOT CORVANE_BUILD_TESTS OR (T_WINE_ONLY AND NOT WIN32))
    return()
  endif()
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main corvane_warnings)
  target_include_directories(${name} PRIVATE ${CORVANE_ROOT})
  if(NOT CORVANE_RUN_TESTS)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "CORVANE_BUILD_DIR=${CMAKE_BINARY_DIR}")
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()
