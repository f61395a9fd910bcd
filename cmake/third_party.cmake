# Header-only libraries from Debian packages, as interface targets. Each gets an
# include folder of its own (links to the package's folder), so the cross build
# never sees the rest of /usr/include; SYSTEM keeps our warnings off them.
function(scenario_header_library target header_dir)
  if(TARGET ${target})
    return()
  endif()
  set(folder ${CMAKE_BINARY_DIR}/third_party/${target})
  get_filename_component(name ${header_dir} NAME)
  if(NOT EXISTS ${folder}/${name})
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${header_dir} ${folder}/${name} SYMBOLIC)
  endif()
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${folder})
endfunction()
