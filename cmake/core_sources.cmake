# The pure rules: byte and number work with no Win32 at all. Every file of a rules
# folder is taken, so a rule that includes a platform header fails the native build.
# They build into the deliverables and, natively under the sanitizers, into the core
# tests and the fuzz targets.
set(_root ${CMAKE_CURRENT_LIST_DIR}/..)
file(GLOB SETTINGS_CORE_SOURCES CONFIGURE_DEPENDS ${_root}/settings/rules/*.cpp)
file(GLOB CTXMENU_CORE_SOURCES CONFIGURE_DEPENDS ${_root}/ctxmenu/rules/*.cpp)
file(GLOB DRAGDROP_CORE_SOURCES CONFIGURE_DEPENDS ${_root}/dragdrop/rules/*.cpp)
file(GLOB SETUP_CORE_SOURCES CONFIGURE_DEPENDS ${_root}/setup/rules/*.cpp)
set(CORE_SOURCES ${SETTINGS_CORE_SOURCES} ${CTXMENU_CORE_SOURCES} ${DRAGDROP_CORE_SOURCES} ${SETUP_CORE_SOURCES})
set(CORE_INCLUDE_DIRS ${_root}/settings/rules ${_root}/ctxmenu/rules ${_root}/dragdrop/rules ${_root}/setup/rules)
