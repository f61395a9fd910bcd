# The release packages (cpack): a zip for Windows from the MinGW build, a
# tar.gz for Linux. Each holds the program, the authors' tool and three READMEs
# (the players' in Italian, the authors' in Italian and in English),
# at the top of the archive, so that extracting it into the simulator's folder
# puts the program where its files belong. No libraries, no tests.

install(TARGETS calvena_roccalba RUNTIME DESTINATION .)
if(TARGET scenario)
  install(TARGETS scenario RUNTIME DESTINATION .)
endif()

# The READMEs carry the version; on Windows their lines end in CR LF.
if(WIN32)
  set(readme_newlines CRLF)
else()
  set(readme_newlines UNIX)
endif()
foreach(readme LEGGIMI.txt LEGGIMI-autori.txt README-authors.txt)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${readme} ${PROJECT_BINARY_DIR}/packaging/${readme} @ONLY
                 NEWLINE_STYLE ${readme_newlines})
  install(FILES ${PROJECT_BINARY_DIR}/packaging/${readme} DESTINATION .)
endforeach()

set(CPACK_PACKAGE_NAME calvena_roccalba)
set(CPACK_PACKAGE_VENDOR "Calvena - Roccalba Terme scenario")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
else()
  set(CPACK_GENERATOR TGZ)
  set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
endif()
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
