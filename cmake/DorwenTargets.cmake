# Every subsystem folder builds two static libraries:
#   dorwen_<name>     the logic: sources in <name>/ itself (or in the sub-folders named by DIRS),
#                     links Qt6::Core and Qt6::Gui only;
#   dorwen_<name>_ui  the windows: sources in <name>/ui/, may link Qt6::Widgets.
# Sources are picked up by glob so that adding a file needs no edit here.

set(DORWEN_LOGIC_TARGETS "" CACHE INTERNAL "")

# When the glob brings in a new or removed source, moc must run again: the generated
# build only re-runs it for files it already knew. Dropping the autogen timestamp when a
# target's source list changes makes the next build regenerate its moc files.
function(dorwen_refresh_autogen target)
  string(SHA1 hash "${ARGN}")
  if(NOT "${hash}" STREQUAL "${DORWEN_AUTOGEN_${target}}")
    file(REMOVE "${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp")
    set(DORWEN_AUTOGEN_${target} "${hash}" CACHE INTERNAL "")
  endif()
endfunction()

function(dorwen_logic_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPENDS;LIBS" ${ARGN})
  if(NOT ARG_DIRS)
    set(ARG_DIRS .)
  endif()
  set(srcs "")
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB dir_srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
    list(APPEND srcs ${dir_srcs})
  endforeach()
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(dorwen_${name} STATIC ${srcs})
  dorwen_refresh_autogen(dorwen_${name} ${srcs})
  target_include_directories(dorwen_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(dorwen_${name} PUBLIC Qt6::Core Qt6::Gui ${ARG_DEPENDS} ${ARG_LIBS})
  target_compile_definitions(dorwen_${name} PUBLIC QT_NO_KEYWORDS
                             DORWEN_SOURCE_RESOURCES="${DORWEN_SOURCE_RESOURCES}")
  set(DORWEN_LOGIC_TARGETS ${DORWEN_LOGIC_TARGETS} dorwen_${name} CACHE INTERNAL "")
endfunction()

function(dorwen_ui_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h)
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(dorwen_${name}_ui STATIC ${srcs})
  dorwen_refresh_autogen(dorwen_${name}_ui ${srcs})
  target_link_libraries(dorwen_${name}_ui PUBLIC dorwen_${name} Qt6::Widgets ${ARG_DEPENDS} ${ARG_LIBS})
endfunction()

# The logic libraries stay free of widgets: fail the configure step when one of them,
# directly or through another library, links Qt6::Widgets or a window library.
function(dorwen_check_layering)
  foreach(t IN LISTS DORWEN_LOGIC_TARGETS)
    set(queue ${t})
    set(seen "")
    while(queue)
      list(POP_FRONT queue cur)
      if(cur IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${cur})
      if(cur STREQUAL "Qt6::Widgets" OR cur MATCHES "_ui$")
        message(FATAL_ERROR "${t} is logic and must not link ${cur}")
      endif()
      if(TARGET ${cur})
        get_target_property(aliased ${cur} ALIASED_TARGET)
        if(aliased)
          list(APPEND queue ${aliased})
        endif()
        get_target_property(deps ${cur} INTERFACE_LINK_LIBRARIES)
        if(deps)
          list(APPEND queue ${deps})
        endif()
      endif()
    endwhile()
  endforeach()
endfunction()
