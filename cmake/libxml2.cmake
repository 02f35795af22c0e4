# The target cmdrunner_libxml2: libxml2 for the platform layer.
#
# Every program links the shared libxml2, except one that asks with
# cmdrunner_link_libxml2_statically(): it gets libxml2 and what it needs (ICU,
# zlib, liblzma) from their static archives. cmdrunner asks, because a
# dynamically linked libxml2 brings ICU's large shared libraries with it, and
# loading them at every start costs more than the rest of a short run. The
# price is a larger program, and a libxml2 security update reaches cmdrunner
# only when it is built again. Without the archives, or with
# CMDRUNNER_STATIC_LIBXML2=OFF, cmdrunner links the shared library too.
option(CMDRUNNER_STATIC_LIBXML2 "Link libxml2 and its dependencies statically into cmdrunner" ON)

set(_cmdrunner_libxml2_archives "")
if(CMDRUNNER_STATIC_LIBXML2)
  # pkg-config --static lists them in link order: xml2 icui18n icuuc icudata z lzma m.
  foreach(_name IN LISTS LIBXML2_STATIC_LIBRARIES)
    if(_name STREQUAL "m")
      list(APPEND _cmdrunner_libxml2_archives m)
      continue()
    endif()
    find_library(CMDRUNNER_STATIC_LIB_${_name} NAMES lib${_name}.a HINTS ${LIBXML2_STATIC_LIBRARY_DIRS})
    if(NOT CMDRUNNER_STATIC_LIB_${_name})
      message(STATUS "lib${_name}.a not found: cmdrunner links the shared libxml2")
      set(_cmdrunner_libxml2_archives "")
      break()
    endif()
    list(APPEND _cmdrunner_libxml2_archives ${CMDRUNNER_STATIC_LIB_${_name}})
  endforeach()
endif()

# The choice is made for the program being linked, by its property
# CMDRUNNER_LINK_LIBXML2_STATICALLY, so a program never holds two copies of
# libxml2.
set(_static "$<BOOL:$<TARGET_PROPERTY:CMDRUNNER_LINK_LIBXML2_STATICALLY>>")
add_library(cmdrunner_libxml2 INTERFACE)
target_link_libraries(cmdrunner_libxml2 INTERFACE "$<$<NOT:${_static}>:PkgConfig::LIBXML2>")
target_include_directories(cmdrunner_libxml2 INTERFACE ${LIBXML2_INCLUDE_DIRS})
target_compile_options(cmdrunner_libxml2 INTERFACE ${LIBXML2_CFLAGS_OTHER})
foreach(_archive IN LISTS _cmdrunner_libxml2_archives CMAKE_DL_LIBS)
  target_link_libraries(cmdrunner_libxml2 INTERFACE "$<${_static}:${_archive}>")
endforeach()

function(cmdrunner_link_libxml2_statically target)
  if(_cmdrunner_libxml2_archives)
    set_target_properties(${target} PROPERTIES CMDRUNNER_LINK_LIBXML2_STATICALLY ON)
  endif()
endfunction()

if(_cmdrunner_libxml2_archives)
  message(STATUS "libxml2 for cmdrunner: static (${_cmdrunner_libxml2_archives})")
endif()
