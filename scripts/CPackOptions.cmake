# Read by cpack once per package generator (CPACK_PROJECT_CONFIG_FILE).
if(CPACK_GENERATOR STREQUAL "TGZ")
  # One folder that runs wherever it is unpacked: the programs find their
  # data at bin/../share/vessara. No desktop entry, which would have to name
  # the program's absolute path; the README at the top.
  set(CPACK_COMPONENTS_ALL show archive)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME "vessara-${CPACK_PACKAGE_VERSION}-Linux")
elseif(CPACK_GENERATOR STREQUAL "DEB")
  # Installed into /usr through DESTDIR, so the desktop entry names
  # /usr/bin/vessara rather than the folder the package is staged in.
  set(CPACK_COMPONENTS_ALL show desktop)
  set(CPACK_DEB_COMPONENT_INSTALL OFF)
  set(CPACK_SET_DESTDIR ON)
  set(CPACK_INSTALL_PREFIX /usr)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
