# One static library per source folder. `USES` names the libraries of the
# folders this one may use (the folders before it, see
# scripts/check_layering.py); a call the other way fails to link, and the
# layering check fails on the include.
function(ld_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;USES" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}" "${LD_GENERATED_DIR}")
  target_link_libraries(${name} PUBLIC ${L_USES})
endfunction()
