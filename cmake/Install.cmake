# The facility as an installed package for Windows programs:
#   cmake --install build/win32 --prefix P
# gives P/include/formreel/forms.h, the static library in P/lib and the
# package in P/lib/cmake/formreel, so that another project writes
#   find_package(formreel 1.0 REQUIRED)
#   target_link_libraries(app PRIVATE formreel::forms)
# The native build installs the command for scripts and its manual page,
#   cmake --install build/native --prefix P
# gives P/bin/formentry and P/share/man/man1/formentry.1; its libraries
# carry the checks and stay inside the build.
if(NOT WIN32)
  if(TARGET formentry)
    install(TARGETS formentry RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/docs/formentry.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  return()
endif()

include(CMakePackageConfigHelpers)
set(FORMREEL_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/formreel)

install(TARGETS formreel_forms_package EXPORT formreelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/forms/include/formreel/forms.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/formreel)
install(EXPORT formreelTargets NAMESPACE formreel:: DESTINATION ${FORMREEL_PACKAGE_DIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/formreelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/formreelConfig.cmake INSTALL_DESTINATION ${FORMREEL_PACKAGE_DIR})
# 1.x accepts any request for 1.y with y <= x.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/formreelConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/formreelConfig.cmake ${PROJECT_BINARY_DIR}/formreelConfigVersion.cmake
        ${CMAKE_CURRENT_LIST_DIR}/formreelUtf8.cmake ${CMAKE_CURRENT_LIST_DIR}/utf8.manifest
        DESTINATION ${FORMREEL_PACKAGE_DIR})

# The command for scripts, when this is the project being built.
if(TARGET formentry)
  install(TARGETS formentry RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
