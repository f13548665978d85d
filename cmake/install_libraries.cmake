# Run by `cmake --install` (and cpack) after the binary is installed:
# copies each shared library the binary loads that is not the system's (the
# bootstrap's ImageMagick under ~/.cache/quillmark, and any delegate it
# brought along) into <prefix>/lib/quillmark/, where the binary's run path
# ($ORIGIN/../lib/quillmark) finds it, and gives each the run path of its
# own folder when it had one. Set by CMakeLists.txt: QUILLMARK_BUILT_BINARY,
# the binary of the build tree (its run path still finds the libraries),
# and QUILLMARK_LIBRARY_DESTINATION.
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES "${QUILLMARK_BUILT_BINARY}"
  RESOLVED_DEPENDENCIES_VAR libraries
  UNRESOLVED_DEPENDENCIES_VAR missing
  # The system's libraries stay the system's (a Debian package depends on
  # their packages instead).
  POST_EXCLUDE_REGEXES "^/lib/" "^/lib64/" "^/usr/lib/" "^/usr/lib64/")
if(missing)
  message(FATAL_ERROR "Quillmark: cannot find the libraries ${missing}")
endif()
set(destination "${CMAKE_INSTALL_PREFIX}/${QUILLMARK_LIBRARY_DESTINATION}")
foreach(library IN LISTS libraries)
  # The soname's link and the file it names.
  file(INSTALL "${library}" DESTINATION "${destination}" FOLLOW_SYMLINK_CHAIN)
  get_filename_component(file "${library}" REALPATH)
  get_filename_component(name "${file}" NAME)
  set(installed "$ENV{DESTDIR}${destination}/${name}")
  # A run path into the folder it was built in now names its own folder.
  file(READ_ELF "${installed}" RPATH rpath RUNPATH runpath)
  if(rpath OR runpath)
    file(RPATH_SET FILE "${installed}" NEW_RPATH "$ORIGIN")
  endif()
endforeach()
