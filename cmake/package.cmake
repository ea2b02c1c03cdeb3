# The release package made by CPack ("package" target): one folder holding the program, the module,
# the commented INI, the built-in scenarios, the replay viewer, the docs and START.txt; a zip for
# Windows, a tar.gz for Linux.
if(WIN32)
    set(VIGILOR_PROGRAM vigilor-sandbox.exe)
    set(VIGILOR_PACKAGE_SYSTEM win32)
    set(CPACK_GENERATOR ZIP)
    set(VIGILOR_PLAY_LINE "play is not in the Windows build yet: its live page needs a web server library.")
else()
    set(VIGILOR_PROGRAM ./vigilor-sandbox)
    set(VIGILOR_PACKAGE_SYSTEM linux-${CMAKE_SYSTEM_PROCESSOR})
    set(CPACK_GENERATOR TGZ)
    set(VIGILOR_PLAY_LINE "Play against the police yourself, on a live page in your browser:\n\n    ${VIGILOR_PROGRAM} play demo")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/START.txt.in ${CMAKE_BINARY_DIR}/START.txt @ONLY)

install(TARGETS vigilor-sandbox RUNTIME DESTINATION .)
install(TARGETS vigilor LIBRARY DESTINATION . RUNTIME DESTINATION .)
install(FILES ${VIGILOR_COMMENTED_INI} ${CMAKE_BINARY_DIR}/START.txt ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/scenarios/ DESTINATION scenarios FILES_MATCHING PATTERN "*.json")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/viewer/ DESTINATION viewer
        FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.js")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION docs)

set(CPACK_PACKAGE_NAME vigilor-sandbox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME vigilor-sandbox-${PROJECT_VERSION}-${VIGILOR_PACKAGE_SYSTEM})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Without their debugging symbols: a download, not a build tree.
set(CPACK_STRIP_FILES ON)
include(CPack)
