# The suite's one version number is the project's (project() in CMakeLists.txt).
# The version resource of every deliverable and pellast.exe's manifest take it from the
# files generated here, the release archive's name carries it whole (1.20.0), the
# resources' texts carry its first two parts ("1.20").
if(NOT PROJECT_VERSION_PATCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "The project version needs three parts (major.minor.patch): ${PROJECT_VERSION}")
endif()
set(TIDALON_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
set(_generated ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${_generated}/common/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/setup/res/pellast.manifest.in ${_generated}/setup/pellast.manifest @ONLY)
# The resource compiler finds both through the include path ("common/version.h").
include_directories(${_generated})

# The same sources give the same bytes wherever they are built: no link time in the PE
# header or the export directory, and the linker's default image base instead of one
# hashed from the output path (the libraries are relocated at load in any case).
add_link_options(-Wl,--no-insert-timestamp -Wl,--disable-auto-image-base)
