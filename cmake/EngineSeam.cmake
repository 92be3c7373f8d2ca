# The seam between engines and windows. Engine code (stores, rules, models of data,
# document drawing) must run without a widget, so a PDF or an export can be made in a
# test or a batch run and no window's work creeps into a store.
#
# orvella_check_engine_links(targets...): stops the configuration when an engine
# target links Qt Widgets or Qt Print Support, directly or through another target.
# orvella_add_engine_include_test(): a test that fails when a file in an engine folder
# includes a header of Qt Widgets or Qt Print Support.

set(ORVELLA_ENGINE_DIRS base settings storage office session print/engine
    contacts/engine projects/engine receivables/engine admin/engine extras/engine shell/engine)

function(_orvella_collect_links target out)
  set(seen ${${out}})
  get_target_property(type ${target} TYPE)
  set(props INTERFACE_LINK_LIBRARIES)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    list(APPEND props LINK_LIBRARIES)
  endif()
  foreach(prop IN LISTS props)
    get_target_property(links ${target} ${prop})
    if(NOT links)
      continue()
    endif()
    foreach(link IN LISTS links)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      if(TARGET ${link} AND NOT link IN_LIST seen)
        list(APPEND seen ${link})
        _orvella_collect_links(${link} seen)
      endif()
    endforeach()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(orvella_check_engine_links)
  foreach(target IN LISTS ARGN)
    set(links)
    _orvella_collect_links(${target} links)
    foreach(forbidden Qt6::Widgets Qt6::PrintSupport)
      if(forbidden IN_LIST links)
        message(FATAL_ERROR "${target} is an engine library and must not link ${forbidden}")
      endif()
    endforeach()
  endforeach()
endfunction()

function(orvella_add_engine_include_test)
  set(header_dirs)
  foreach(module Widgets PrintSupport)
    get_target_property(dirs Qt6::${module} INTERFACE_INCLUDE_DIRECTORIES)
    foreach(dir IN LISTS dirs)
      if(dir MATCHES "/Qt${module}$")
        list(APPEND header_dirs "${dir}")
      endif()
    endforeach()
  endforeach()
  add_test(NAME engine_includes_no_widgets
           COMMAND ${CMAKE_COMMAND} "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}" "-DENGINE_DIRS=${ORVELLA_ENGINE_DIRS}"
                   "-DHEADER_DIRS=${header_dirs}" -P "${PROJECT_SOURCE_DIR}/cmake/CheckEngineIncludes.cmake")
endfunction()
