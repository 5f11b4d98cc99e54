# Runs a configured build's install script as CPack's Debian generator does (prefix /usr, into
# a staging folder) without the built files: every file it would install is written to
# MANIFEST as its installed path instead, and what the script itself writes (the files
# configured at install time) is written for real, under STAGING.
# Usage: cmake -DBUILD=DIR -DMANIFEST=FILE -DSTAGING=DIR -P install_manifest.cmake
cmake_policy(SET CMP0011 NEW)
function(file mode)
  if(NOT mode STREQUAL "INSTALL")
    _file(${mode} ${ARGN})
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 install
    "OPTIONAL;MESSAGE_NEVER;USE_SOURCE_PERMISSIONS;FOLLOW_SYMLINK_CHAIN;FILES_MATCHING"
    "DESTINATION;TYPE;RENAME" "FILES;PERMISSIONS;DIR_PERMISSIONS;FILE_PERMISSIONS")
  foreach(source ${install_FILES})
    get_filename_component(name "${source}" NAME)
    if(install_RENAME)
      set(name "${install_RENAME}")
    endif()
    string(REPLACE "$ENV{DESTDIR}" "" destination "${install_DESTINATION}")
    _file(APPEND "${MANIFEST}" "${destination}/${name}\n")
    if(source MATCHES "/installed/")
      _file(COPY "${source}" DESTINATION "${STAGING}${destination}")
    endif()
  endforeach()
endfunction()
_file(WRITE "${MANIFEST}" "")
set(ENV{DESTDIR} "${STAGING}")
set(CMAKE_INSTALL_PREFIX /usr)
include("${BUILD}/cmake_install.cmake")
