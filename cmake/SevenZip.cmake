# The 7-Zip libraries built by tools/build-7zip for this toolchain's
# architecture. Sets:
#   CORVANE_7ZIP_VERSION          Debian source version (cmake/7zip-version)
#   CORVANE_7ZIP_DIR              cache folder of this architecture
#   CORVANE_7ZIP_STANDALONE       7zxa.dll: 7z format with every codec built in
#   CORVANE_7ZIP_FORMAT_7Z        Formats/7z.dll: 7z format, codecs from the host
#   CORVANE_7ZIP_CODEC_AES        Codecs/Aes.dll     (AES256CBC)
#   CORVANE_7ZIP_CODEC_7ZAES      Codecs/7zAes.dll   (7zAES)
#   CORVANE_7ZIP_CODEC_BRANCH     Codecs/Branch.dll  (BCJ, BCJ2, PPC, IA64, ARM, ARMT, SPARC, ARM64, RISCV)
#   CORVANE_7ZIP_CODEC_COPY       Codecs/Copy.dll    (Copy)
#   CORVANE_7ZIP_CODEC_LZMA       Codecs/LZMA.dll    (LZMA, LZMA2)
#   CORVANE_7ZIP_CODEC_SWAP       Codecs/Swap.dll    (Swap2, Swap4)
#   CORVANE_7ZIP_LIBRARIES        all of the above, as a list
#   CORVANE_7ZIP_SOURCE_DIR       the unpacked source they were built from
# Plain variables: every directory that uses them includes this file.
include_guard(DIRECTORY)

set(_7z_script ${CMAKE_CURRENT_LIST_DIR}/../tools/build-7zip)
set(_7z_version_file ${CMAKE_CURRENT_LIST_DIR}/7zip-version)
file(STRINGS ${_7z_version_file} CORVANE_7ZIP_VERSION LIMIT_COUNT 1)
string(STRIP "${CORVANE_7ZIP_VERSION}" CORVANE_7ZIP_VERSION)

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set(_7z_arch x86_64)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$")
  set(_7z_arch i686)
else()
  message(FATAL_ERROR "7-Zip libraries: no build for processor '${CMAKE_SYSTEM_PROCESSOR}' (x86_64 or i686 only)")
endif()

# The script alone knows where its cache is.
execute_process(COMMAND ${_7z_script} --print-dir ${_7z_arch}
  OUTPUT_VARIABLE CORVANE_7ZIP_DIR OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _7z_rc)
if(NOT _7z_rc EQUAL 0 OR CORVANE_7ZIP_DIR STREQUAL "")
  message(FATAL_ERROR "7-Zip libraries: '${_7z_script} --print-dir ${_7z_arch}' failed")
endif()

string(REGEX REPLACE "^[0-9]+:" "" _7z_upstream "${CORVANE_7ZIP_VERSION}")
string(REGEX REPLACE "-[^-]*$" "" _7z_upstream "${_7z_upstream}")
get_filename_component(_7z_version_dir ${CORVANE_7ZIP_DIR} DIRECTORY)
set(CORVANE_7ZIP_SOURCE_DIR ${_7z_version_dir}/src/7zip-${_7z_upstream})

set(CORVANE_7ZIP_STANDALONE ${CORVANE_7ZIP_DIR}/7zxa.dll)
set(CORVANE_7ZIP_FORMAT_7Z ${CORVANE_7ZIP_DIR}/Formats/7z.dll)
set(CORVANE_7ZIP_CODEC_AES ${CORVANE_7ZIP_DIR}/Codecs/Aes.dll)
set(CORVANE_7ZIP_CODEC_7ZAES ${CORVANE_7ZIP_DIR}/Codecs/7zAes.dll)
set(CORVANE_7ZIP_CODEC_BRANCH ${CORVANE_7ZIP_DIR}/Codecs/Branch.dll)
set(CORVANE_7ZIP_CODEC_COPY ${CORVANE_7ZIP_DIR}/Codecs/Copy.dll)
set(CORVANE_7ZIP_CODEC_LZMA ${CORVANE_7ZIP_DIR}/Codecs/LZMA.dll)
set(CORVANE_7ZIP_CODEC_SWAP ${CORVANE_7ZIP_DIR}/Codecs/Swap.dll)
set(CORVANE_7ZIP_LIBRARIES
  ${CORVANE_7ZIP_STANDALONE} ${CORVANE_7ZIP_FORMAT_7Z}
  ${CORVANE_7ZIP_CODEC_AES} ${CORVANE_7ZIP_CODEC_7ZAES} ${CORVANE_7ZIP_CODEC_BRANCH}
  ${CORVANE_7ZIP_CODEC_COPY} ${CORVANE_7ZIP_CODEC_LZMA} ${CORVANE_7ZIP_CODEC_SWAP})

# The stamp is written last and names the version, so a complete, current
# build has it with the recorded version in it.
set(_7z_stamp ${CORVANE_7ZIP_DIR}/stamp)
set(_7z_missing)
if(EXISTS ${_7z_stamp})
  file(STRINGS ${_7z_stamp} _7z_stamp_version REGEX "^version=")
  if(NOT _7z_stamp_version STREQUAL "version=${CORVANE_7ZIP_VERSION}")
    list(APPEND _7z_missing ${_7z_stamp})
  endif()
else()
  list(APPEND _7z_missing ${_7z_stamp})
endif()
if(NOT EXISTS ${CORVANE_7ZIP_SOURCE_DIR}/CPP/7zip)
  list(APPEND _7z_missing ${CORVANE_7ZIP_SOURCE_DIR})
endif()
foreach(_7z_lib IN LISTS CORVANE_7ZIP_LIBRARIES)
  if(NOT EXISTS ${_7z_lib})
    list(APPEND _7z_missing ${_7z_lib})
  endif()
endforeach()
if(_7z_missing)
  list(JOIN _7z_missing "\n  " _7z_missing_text)
  message(FATAL_ERROR "7-Zip ${CORVANE_7ZIP_VERSION} for ${_7z_arch} is not built (missing or stale:\n  "
    "${_7z_missing_text})\nRun: tools/build-7zip --arch ${_7z_arch}   (or tools/build-7zip for both)")
endif()

# A new version record or a rebuilt cache reconfigures.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_7z_version_file} ${_7z_stamp})
get_property(_7z_told GLOBAL PROPERTY CORVANE_7ZIP_TOLD)
if(NOT _7z_told)
  set_property(GLOBAL PROPERTY CORVANE_7ZIP_TOLD TRUE)
  message(STATUS "7-Zip ${CORVANE_7ZIP_VERSION} (${_7z_arch}): ${CORVANE_7ZIP_DIR}")
endif()
