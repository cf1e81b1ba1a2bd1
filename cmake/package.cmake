# The release archive tidalon-<version>-win-x64.zip, made from the deliverables of this
# build into PACKAGE_DIR (scripts/package.sh makes it from a fresh Release build into
# dist/), and the test that installs it as a user would.
set(PACKAGE_DIR ${CMAKE_BINARY_DIR} CACHE PATH "Where the release archive is put")
set(TIDALON_ARCHIVE ${PACKAGE_DIR}/tidalon-${PROJECT_VERSION}-win-x64.zip)
set(_package_files ${CMAKE_SOURCE_DIR}/scripts/package)
add_custom_command(OUTPUT ${TIDALON_ARCHIVE}
  COMMAND python3 ${_package_files}/make_archive.py ${TIDALON_ARCHIVE} ${PROJECT_VERSION} ${DIST_DIR}
          ${_package_files}/readme.ja.txt ${CMAKE_SOURCE_DIR}/LICENSE
  DEPENDS kelmora orvid pellast ${_package_files}/make_archive.py ${_package_files}/readme.ja.txt
          ${CMAKE_SOURCE_DIR}/LICENSE
  COMMENT "Release archive ${TIDALON_ARCHIVE}"
  VERBATIM)
add_custom_target(release_archive DEPENDS ${TIDALON_ARCHIVE})

add_subdirectory(tests/package)
