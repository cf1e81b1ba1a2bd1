# The pure rules: byte and number work with no Win32 at all. Every file of a rules
# folder is taken, so a rule that includes a platform header fails the native build.
# They build into the deliverables and, natively under the sanitizers, into the core
# tests and the fuzz targets. Every include names its folder from the repository root.
set(_root ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(TIDALON_ROOT ${_root} ABSOLUTE)
file(GLOB COMMON_CORE_SOURCES CONFIGURE_DEPENDS ${TIDALON_ROOT}/common/rules/*.cpp)
file(GLOB CTXMENU_CORE_SOURCES CONFIGURE_DEPENDS ${TIDALON_ROOT}/ctxmenu/rules/*.cpp)
file(GLOB DRAGDROP_CORE_SOURCES CONFIGURE_DEPENDS ${TIDALON_ROOT}/dragdrop/rules/*.cpp)
file(GLOB SETUP_CORE_SOURCES CONFIGURE_DEPENDS ${TIDALON_ROOT}/setup/rules/*.cpp)
set(CORE_SOURCES ${COMMON_CORE_SOURCES} ${CTXMENU_CORE_SOURCES} ${DRAGDROP_CORE_SOURCES} ${SETUP_CORE_SOURCES})
# The folders whose headers the rules may include: the rules folders, and the plain
# resource ids the option-block tables name their controls by.
set(CORE_HEADER_DIRS ${TIDALON_ROOT}/common/rules ${TIDALON_ROOT}/ctxmenu/rules ${TIDALON_ROOT}/dragdrop/rules
    ${TIDALON_ROOT}/setup/rules)
set(CORE_EXTRA_HEADERS ${TIDALON_ROOT}/common/resource_ids.h)
set(CORE_INCLUDE_DIRS ${TIDALON_ROOT})
