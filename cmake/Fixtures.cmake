include(${CMAKE_CURRENT_LIST_DIR}/HostTools.cmake)

# Test fixtures made at build time from small sources, with the same tools an
# author would use: wixl/msibuild for packages, 7zz for archives.
set(CORVANE_FIXTURE_DIR ${CMAKE_BINARY_DIR}/fixtures)
file(MAKE_DIRECTORY ${CORVANE_FIXTURE_DIR})
add_custom_target(corvane_fixtures)

find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)
find_program(SEVENZ 7zz REQUIRED)

# corvane_msi_fixture(NAME SOURCE file.wxs [DEFINES VAR=VALUE...] [SQL statement...]
#                     [PACKAGE_CODE {GUID} SUBJECT text AUTHOR text])
# Builds ${CORVANE_FIXTURE_DIR}/NAME.msi; each SQL statement is then run on it
# with msibuild (wixl cannot express everything, component conditions say).
# wixl makes up a package code of its own: PACKAGE_CODE sets it afterwards,
# with the summary's subject and author (msibuild writes them together).
function(corvane_msi_fixture name)
  cmake_parse_arguments(F "" "SOURCE;PACKAGE_CODE;SUBJECT;AUTHOR" "DEFINES;SQL" ${ARGN})
  set(out ${CORVANE_FIXTURE_DIR}/${name}.msi)
  set(defines)
  foreach(d ${F_DEFINES})
    list(APPEND defines -D ${d})
  endforeach()
  set(edits)
  foreach(q ${F_SQL})
    list(APPEND edits COMMAND ${MSIBUILD} ${out} -q ${q})
  endforeach()
  if(F_PACKAGE_CODE)
    list(APPEND edits COMMAND ${MSIBUILD} ${out} -s ${F_SUBJECT} ${F_AUTHOR} "Intel$<SEMICOLON>1033" ${F_PACKAGE_CODE})
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${out}
    COMMAND ${WIXL} ${defines} -o ${out} ${F_SOURCE}
    ${edits}
    DEPENDS ${F_SOURCE}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    COMMENT "Package fixture ${name}.msi" VERBATIM)
  add_custom_target(fixture_${name} DEPENDS ${out})
  add_dependencies(corvane_fixtures fixture_${name})
endfunction()

# corvane_7z_fixture(NAME DIRECTORY dir [SWITCHES 7zz-switches...] [RENAME old new])
# Archives the contents of DIRECTORY into ${CORVANE_FIXTURE_DIR}/NAME.7z, e.g.
#   SWITCHES -m0=LZMA2            plain
#   SWITCHES -pSECRET -mhe=on     encrypted, headers too
#   SWITCHES -m0=BCJ2 -m1=LZMA -m2=LZMA -m3=LZMA -mb0:1 -mb0s1:2 -mb0s2:3
#   SWITCHES -m0=Swap4 -m1=LZMA
# RENAME then stores an item under a name no file system would give it
# ("../evil.txt"), for archives that try to write outside their destination.
function(corvane_7z_fixture name)
  cmake_parse_arguments(F "" "DIRECTORY" "SWITCHES;RENAME" ${ARGN})
  set(out ${CORVANE_FIXTURE_DIR}/${name}.7z)
  set(rename)
  if(F_RENAME)
    set(rename COMMAND ${SEVENZ} rn -bso0 -bsp0 ${out} ${F_RENAME})
  endif()
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${F_DIRECTORY}/*)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${out}
    COMMAND ${SEVENZ} a -bso0 -bsp0 ${F_SWITCHES} ${out} .
    ${rename}
    DEPENDS ${inputs}
    WORKING_DIRECTORY ${F_DIRECTORY}
    COMMENT "Archive fixture ${name}.7z" VERBATIM)
  add_custom_target(fixture_${name} DEPENDS ${out})
  add_dependencies(corvane_fixtures fixture_${name})
endfunction()

# corvane_script_fixture(NAME SOURCE file.cvscript [ENGINE target] [OUTPUT_NAME name])
# Compiles a script source with corvane-script into ${CORVANE_FIXTURE_DIR}:
# a bare container NAME.bin, or with ENGINE the engine executable with the
# container appended, NAME.exe (or OUTPUT_NAME).
function(corvane_script_fixture name)
  cmake_parse_arguments(F "" "SOURCE;ENGINE;OUTPUT_NAME" "" ${ARGN})
  set(engine_args)
  set(depends ${F_SOURCE} ${CORVANE_SCRIPT_TOOL_TARGET})
  if(F_ENGINE)
    set(out ${CORVANE_FIXTURE_DIR}/${name}.exe)
    set(engine_args --engine $<TARGET_FILE:${F_ENGINE}>)
    list(APPEND depends ${F_ENGINE})
  else()
    set(out ${CORVANE_FIXTURE_DIR}/${name}.bin)
  endif()
  if(F_OUTPUT_NAME)
    set(out ${CORVANE_FIXTURE_DIR}/${F_OUTPUT_NAME})
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CORVANE_SCRIPT_TOOL} compile ${F_SOURCE} -o ${out} ${engine_args}
    DEPENDS ${depends}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    COMMENT "Script fixture ${name}" VERBATIM)
  add_custom_target(fixture_${name} DEPENDS ${out})
  add_dependencies(corvane_fixtures fixture_${name})
endfunction()
