# Third-party code is installed on the machine, never kept in this tree.
# Natively it comes from Debian's -dev packages. For Windows, zlib comes from
# libz-mingw-w64-dev, jsoncpp and minizip are compiled from Debian's source
# packages (unpacked by scripts/bootstrap.sh), GoogleTest from /usr/src.

if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  find_package(ZLIB REQUIRED)
  find_package(jsoncpp CONFIG REQUIRED)
  pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
  add_library(ld_jsoncpp INTERFACE)
  target_link_libraries(ld_jsoncpp INTERFACE jsoncpp_lib)
  add_library(ld_minizip INTERFACE)
  target_link_libraries(ld_minizip INTERFACE PkgConfig::MINIZIP ZLIB::ZLIB)
  if(LD_BUILD_TESTS)
    find_package(GTest REQUIRED)
  endif()
  return()
endif()

set(LD_DEPS_SRC "${CMAKE_SOURCE_DIR}/build/_deps-src" CACHE PATH
    "Unpacked Debian sources of jsoncpp and minizip (scripts/bootstrap.sh)")
if(NOT EXISTS "${LD_DEPS_SRC}/jsoncpp/include/json/json.h" OR
   NOT EXISTS "${LD_DEPS_SRC}/minizip/unzip.c")
  message(FATAL_ERROR "Cross sources missing in ${LD_DEPS_SRC}: run scripts/bootstrap.sh")
endif()

find_library(LD_ZLIB_LIBRARY NAMES libz.a z REQUIRED)
add_library(ld_zlib INTERFACE)
target_link_libraries(ld_zlib INTERFACE ${LD_ZLIB_LIBRARY})

file(GLOB _jsoncpp_sources "${LD_DEPS_SRC}/jsoncpp/src/lib_json/*.cpp")
add_library(ld_jsoncpp STATIC ${_jsoncpp_sources})
target_include_directories(ld_jsoncpp SYSTEM PUBLIC "${LD_DEPS_SRC}/jsoncpp/include")
target_compile_options(ld_jsoncpp PRIVATE -w)

# minizip's own sources must not be compiled to code page 949 (they hold no
# text) and carry warnings we do not own.
add_library(ld_minizip STATIC
  "${LD_DEPS_SRC}/minizip/unzip.c" "${LD_DEPS_SRC}/minizip/zip.c"
  "${LD_DEPS_SRC}/minizip/ioapi.c" "${LD_DEPS_SRC}/minizip/iowin32.c")
target_include_directories(ld_minizip SYSTEM PUBLIC "${LD_DEPS_SRC}/minizip")
target_compile_definitions(ld_minizip PUBLIC NOCRYPT NOUNCRYPT)
target_compile_options(ld_minizip PRIVATE -w)
target_link_libraries(ld_minizip PUBLIC ld_zlib)

if(LD_BUILD_TESTS)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/_googletest" EXCLUDE_FROM_ALL)
endif()
