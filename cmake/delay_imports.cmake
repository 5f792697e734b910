# Delay-import libraries for the Windows programs.
#
# A program started from a downloads or temporary folder must not pick up a
# DLL someone placed beside it. Windows resolves the static imports of an
# executable before its first instruction runs, searching the program's own
# folder first for every library that is not a "known DLL". So the libraries
# outside that list are imported lazily: the first call of one of their
# functions loads the library through the delay-load helper, whose hook loads
# it from the system folder (see system_libraries.cpp in starter/platform and
# installer/).
#
# ld_delay_import(<dll base name>...) makes, for each name, the target
# ld_delayed_<name>: the toolchain's import library for that DLL rebuilt as a
# delay-import library, every function it names included. Link it instead of
# the plain library, together with ld_delay_helper.

if(NOT WIN32)
  return()
endif()

if(NOT CMAKE_DLLTOOL OR NOT CMAKE_NM)
  message(FATAL_ERROR "Delay imports need dlltool and nm of the cross toolchain")
endif()

add_library(ld_delay_helper INTERFACE)
target_link_libraries(ld_delay_helper INTERFACE delayimp)

function(ld_delay_import)
  set(out_dir "${CMAKE_BINARY_DIR}/delay_imports")
  file(MAKE_DIRECTORY "${out_dir}")
  foreach(dll IN LISTS ARGN)
    if(TARGET ld_delayed_${dll})
      continue()
    endif()
    find_library(LD_IMPORT_LIB_${dll} NAMES lib${dll}.a REQUIRED NO_CACHE)
    execute_process(COMMAND "${CMAKE_NM}" -g "${LD_IMPORT_LIB_${dll}}"
                    OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_result)
    if(NOT nm_result EQUAL 0)
      message(FATAL_ERROR "nm could not read ${LD_IMPORT_LIB_${dll}}")
    endif()
    # Every function thunk ("T name") of the import library; on i686 the
    # names carry the leading underscore and the stdcall size (_Name@8).
    string(REGEX MATCHALL "[0-9a-f]+ T [^\n]+" thunks "${symbols}")
    set(def "LIBRARY ${dll}.dll\nEXPORTS\n")
    foreach(thunk IN LISTS thunks)
      string(REGEX REPLACE "^[0-9a-f]+ T " "" name "${thunk}")
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(REGEX REPLACE "^_" "" name "${name}")
      endif()
      string(APPEND def "${name}\n")
    endforeach()
    file(CONFIGURE OUTPUT "${out_dir}/${dll}.def" CONTENT "${def}" @ONLY)
    set(lib "${out_dir}/lib${dll}_delayed.a")
    # -k: the DLL exports the names without the stdcall size.
    set(kill_at)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(kill_at -k)
    endif()
    execute_process(COMMAND "${CMAKE_DLLTOOL}" ${kill_at} -d "${out_dir}/${dll}.def"
                            -D "${dll}.dll" -y "${lib}"
                    RESULT_VARIABLE dlltool_result ERROR_VARIABLE dlltool_errors)
    if(NOT dlltool_result EQUAL 0)
      message(FATAL_ERROR "dlltool could not make ${lib}: ${dlltool_errors}")
    endif()
    add_library(ld_delayed_${dll} STATIC IMPORTED GLOBAL)
    set_target_properties(ld_delayed_${dll} PROPERTIES IMPORTED_LOCATION "${lib}")
    target_link_libraries(ld_delayed_${dll} INTERFACE ld_delay_helper)
  endforeach()
endfunction()
