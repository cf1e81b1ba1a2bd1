# Sources free of Win32 calls. They build into the deliverables and, natively and under
# the sanitizers, into the core tests.
set(_root ${CMAKE_CURRENT_LIST_DIR}/..)
set(SETTINGS_CORE_SOURCES
  ${_root}/settings/option_blocks.cpp
  ${_root}/settings/menu_model.cpp
  ${_root}/settings/path_build.cpp
)
set(CTXMENU_CORE_SOURCES
  ${_root}/ctxmenu/permute_rule.cpp
  ${_root}/ctxmenu/view_rules.cpp
  ${_root}/ctxmenu/date_folder.cpp
)
set(CORE_SOURCES ${SETTINGS_CORE_SOURCES} ${CTXMENU_CORE_SOURCES})
