# The facility as an installed package:
#   cmake --install build/PRESET --prefix P
# gives P/include/formreel/ (the public headers), the static library in
# P/lib (P/lib/<multiarch> under /usr on Debian) and the CMake package in
# its cmake/formreel, so that another project writes
#   find_package(formreel 1.1 REQUIRED)
#   target_link_libraries(app PRIVATE formreel::forms)
# and, when this is the project being built, the command for scripts with
# its manual page and the guide; on Windows also the program and its
# sample clip. A package for users is made from a build without the
# sanitizers (cmake/Packaging.cmake says how).
include(CMakePackageConfigHelpers)
set(FORMREEL_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/formreel)

install(TARGETS formreel_forms_package EXPORT formreelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/forms/include/formreel/forms.h ${PROJECT_SOURCE_DIR}/forms/include/formreel/form.h
              ${PROJECT_SOURCE_DIR}/forms/include/formreel/limits.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/formreel)
install(EXPORT formreelTargets NAMESPACE formreel:: DESTINATION ${FORMREEL_PACKAGE_DIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/formreelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/formreelConfig.cmake INSTALL_DESTINATION ${FORMREEL_PACKAGE_DIR})
# 1.x accepts any request for 1.y with y <= x.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/formreelConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/formreelConfig.cmake ${PROJECT_BINARY_DIR}/formreelConfigVersion.cmake
        DESTINATION ${FORMREEL_PACKAGE_DIR})
if(WIN32)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/formreelUtf8.cmake ${CMAKE_CURRENT_LIST_DIR}/utf8.manifest
          DESTINATION ${FORMREEL_PACKAGE_DIR})
endif()

if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()

# The command for scripts and its manual page; in a Debian package the page
# is compressed, and the package's copyright and changelog come with it.
install(TARGETS formentry RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
option(FORMREEL_DEBIAN_PACKAGE "Install as the Debian package has it" OFF)
if(FORMREEL_DEBIAN_PACKAGE)
  set(debian ${PROJECT_BINARY_DIR}/debian)
  add_custom_command(OUTPUT ${debian}/changelog.gz ${debian}/formentry.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${debian}
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/cmake/debian/changelog > ${debian}/changelog.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/docs/formentry.1 > ${debian}/formentry.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog ${PROJECT_SOURCE_DIR}/docs/formentry.1
    VERBATIM)
  add_custom_target(formreel_debian_files ALL DEPENDS ${debian}/changelog.gz ${debian}/formentry.1.gz)
  install(FILES ${debian}/formentry.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${debian}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
elseif(NOT WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/formentry.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
# The guide and its pictures.
install(FILES ${PROJECT_SOURCE_DIR}/docs/forms.md ${PROJECT_SOURCE_DIR}/docs/formentry.png
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/guide DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The program and the clip it plays, side by side.
if(TARGET formreel)
  install(TARGETS formreel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/media/SAMPLE.AVI DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
