# A cross build's tests (Windows under Wine, WebAssembly under Node.js) run
# through the toolchain file's emulator. GoogleTest is built from the sources
# Debian's libgtest-dev ships. Each suite is one ctest test: starting the
# emulator costs noticeably, so the cases are not started one by one.
set(LINTERP_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS ${LINTERP_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's sources are not in ${LINTERP_GTEST_SOURCE} (Debian package libgtest-dev)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${LINTERP_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
