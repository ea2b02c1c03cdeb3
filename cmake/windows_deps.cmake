# The cross build's libraries. The header-only ones are the build machine's packages, but their
# package files name /usr/include, whose C headers would shadow the cross toolchain's: only their
# own folders are linked into the build tree. GoogleTest is built from the distribution's sources.
set(VIGILOR_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${VIGILOR_HOST_HEADERS})
foreach(folder nlohmann CLI)
    file(CREATE_LINK /usr/include/${folder} ${VIGILOR_HOST_HEADERS}/${folder} SYMBOLIC)
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json CLI11::CLI11 PROPERTIES
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${VIGILOR_HOST_HEADERS}
    INTERFACE_INCLUDE_DIRECTORIES ${VIGILOR_HOST_HEADERS})

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
# GoogleTest is for the tests only: nothing of it goes into the package.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
