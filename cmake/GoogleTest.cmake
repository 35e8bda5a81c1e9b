# GoogleTest from the sources that Debian's googletest package ships, built
# with the project's own compiler and flags (native and cross alike), and
# under the tests' sanitizers, though without the fuzzers' coverage.
set(FORMREEL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${FORMREEL_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${FORMREEL_GOOGLETEST_SOURCE} (install Debian's googletest package)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${FORMREEL_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(library IN ITEMS gtest gtest_main)
  target_link_libraries(${library} PRIVATE formreel_sanitizers)
endforeach()
