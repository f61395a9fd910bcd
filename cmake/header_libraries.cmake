# nlohmann/json, CLI11 and Boost: header-only Debian packages, used by the tool
# and its tests in both builds. Only their own folders go on the include path,
# through a folder of links in the build tree, never /usr/include whole (the
# MinGW build must not see the Linux system headers). SYSTEM: our warnings are
# not for them. The top CMakeLists.txt has checked that they are there.
function(scenario_header_library target folder probe)
  find_path(${target}_ROOT ${probe} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
  set(links ${CMAKE_BINARY_DIR}/header_libraries/${target})
  file(MAKE_DIRECTORY ${links})
  file(CREATE_LINK ${${target}_ROOT}/${folder} ${links}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${links})
endfunction()

if(NOT TARGET scenario_json)
  scenario_header_library(scenario_json nlohmann nlohmann/json.hpp)   # nlohmann-json3-dev
  scenario_header_library(scenario_cli CLI CLI/CLI.hpp)               # libcli11-dev
endif()

# Boost's header-only parts (Beast and Asio, for `scenario view`).
if(NOT TARGET scenario_boost)
  scenario_header_library(scenario_boost boost boost/beast.hpp)      # libboost-dev
endif()
