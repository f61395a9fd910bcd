# Whether the author's tool can be built: its header-only libraries and msgfmt
# (its built-in catalogue) are Debian packages that a stock machine lacks
# (packages.sh, tool_packages). Sets
# SCENARIO_TOOL_MISSING to the packages not found, empty when all are there.
set(SCENARIO_TOOL_MISSING "")
foreach(probe_and_package "nlohmann/json.hpp=nlohmann-json3-dev" "CLI/CLI.hpp=libcli11-dev"
                          "boost/beast.hpp=libboost-dev")
  string(REPLACE "=" ";" pair ${probe_and_package})
  list(GET pair 0 probe)
  list(GET pair 1 package)
  string(MAKE_C_IDENTIFIER "SCENARIO_PROBE_${probe}" probe_var)
  find_path(${probe_var} ${probe} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
  if(NOT ${probe_var})
    list(APPEND SCENARIO_TOOL_MISSING ${package})
  endif()
endforeach()
find_program(SCENARIO_MSGFMT msgfmt NO_CMAKE_FIND_ROOT_PATH)
if(NOT SCENARIO_MSGFMT)
  list(APPEND SCENARIO_TOOL_MISSING gettext)
endif()

# GDAL (libgdal-dev, with PROJ) reads geometry and elevation files for
# `scenario import` and `export`. Optional: without it (the Windows build, a
# machine without the package, the release build whose shipped tool needs only
# the C library) the tool is built and those two commands say that they cannot
# run. GDAL_FOUND and the target GDAL::GDAL tell the rest.
set(SCENARIO_GDAL AUTO CACHE STRING "Use GDAL for import and export: AUTO (when found) or OFF")
set(GDAL_FOUND FALSE)
if(NOT CMAKE_CROSSCOMPILING AND NOT SCENARIO_GDAL STREQUAL "OFF")
  find_package(GDAL CONFIG QUIET)
  if(NOT GDAL_FOUND)
    find_package(GDAL QUIET)
  endif()
endif()
