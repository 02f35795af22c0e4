# The target cmdrunner_libxml2: libxml2 for the platform layer.
#
# By default libxml2 and what it needs (ICU, zlib, liblzma) are linked from
# their static archives: a dynamically linked libxml2 brings ICU's large
# shared libraries with it, and loading them at every start costs more than
# the rest of a short run. The price is that a libxml2 security update
# reaches cmdrunner only when it is built again. Without the archives, or
# with CMDRUNNER_STATIC_LIBXML2=OFF, the shared library is used.
option(CMDRUNNER_STATIC_LIBXML2 "Link libxml2 and its dependencies statically" ON)

add_library(cmdrunner_libxml2 INTERFACE)
set(_cmdrunner_static_libxml2 "")
if(CMDRUNNER_STATIC_LIBXML2)
  # pkg-config --static lists them in link order: xml2 icui18n icuuc icudata z lzma m.
  foreach(_name IN LISTS LIBXML2_STATIC_LIBRARIES)
    if(_name STREQUAL "m")
      list(APPEND _cmdrunner_static_libxml2 m)
      continue()
    endif()
    find_library(CMDRUNNER_STATIC_LIB_${_name} NAMES lib${_name}.a HINTS ${LIBXML2_STATIC_LIBRARY_DIRS})
    if(NOT CMDRUNNER_STATIC_LIB_${_name})
      message(STATUS "lib${_name}.a not found: libxml2 is linked dynamically")
      set(_cmdrunner_static_libxml2 "")
      break()
    endif()
    list(APPEND _cmdrunner_static_libxml2 ${CMDRUNNER_STATIC_LIB_${_name}})
  endforeach()
endif()

if(_cmdrunner_static_libxml2)
  target_include_directories(cmdrunner_libxml2 INTERFACE ${LIBXML2_INCLUDE_DIRS})
  target_compile_options(cmdrunner_libxml2 INTERFACE ${LIBXML2_CFLAGS_OTHER})
  target_link_libraries(cmdrunner_libxml2 INTERFACE ${_cmdrunner_static_libxml2} ${CMAKE_DL_LIBS})
  message(STATUS "libxml2: static (${_cmdrunner_static_libxml2})")
else()
  target_link_libraries(cmdrunner_libxml2 INTERFACE PkgConfig::LIBXML2)
endif()
