# The facility as an installed package:
#   cmake --install build/PRESET --prefix P
# gives P/include/formreel/ (the public headers), the static library in
# P/lib (P/lib/<multiarch> under /usr on Debian) and the CMake package in
# its cmake/formreel, so that another project writes
#   find_package(formreel 1.1 REQUIRED)
#   target_link_libraries(app PRIVATE formreel::forms)
# and, when this is the project being built, the command for scripts with
# its manual page and the guide; on Windows also the program and its
# sample clip. Every file belongs to one component, which the Debian
# packages follow (cmake/Packaging.cmake): "development" (what a C++
# program builds on, and the guide), "formentry" (the command and its page),
# elsewhere "window" (the desktop window's module, forms/gtk) and, on
# Windows, "program".
include(CMakePackageConfigHelpers)
set(FORMREEL_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/formreel)

install(TARGETS formreel_forms_package EXPORT formreelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/forms/include/formreel/forms.h ${PROJECT_SOURCE_DIR}/forms/include/formreel/form.h
              ${PROJECT_SOURCE_DIR}/forms/include/formreel/limits.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/formreel COMPONENT development)
install(EXPORT formreelTargets NAMESPACE formreel:: DESTINATION ${FORMREEL_PACKAGE_DIR} COMPONENT development)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/formreelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/formreelConfig.cmake INSTALL_DESTINATION ${FORMREEL_PACKAGE_DIR})
# 1.x accepts any request for 1.y with y <= x.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/formreelConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/formreelConfig.cmake ${PROJECT_BINARY_DIR}/formreelConfigVersion.cmake
        DESTINATION ${FORMREEL_PACKAGE_DIR} COMPONENT development)
if(WIN32)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/formreelUtf8.cmake ${CMAKE_CURRENT_LIST_DIR}/utf8.manifest
          DESTINATION ${FORMREEL_PACKAGE_DIR} COMPONENT development)
endif()

if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()

install(TARGETS formentry RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT formentry)
# The manual page, as the top-level CMakeLists.txt configures it with the
# project's version, and the guide with its pictures. A Debian package
# compresses the page and keeps its documents in /usr/share/doc/PACKAGE,
# with its copyright and changelog; FORMREEL_DEBIAN_<component> names the
# package of each component.
option(FORMREEL_DEBIAN_PACKAGE "Install as the Debian packages have it" OFF)
set(FORMREEL_DEBIAN_formentry formentry)
set(FORMREEL_DEBIAN_development libformreel-dev)
set(FORMREEL_DEBIAN_window ${FORMREEL_WINDOW_PACKAGE})
set(man_page ${PROJECT_BINARY_DIR}/docs/formentry.1)
set(guide_dir ${CMAKE_INSTALL_DOCDIR})
if(FORMREEL_DEBIAN_PACKAGE)
  # The changelog's latest entry is the version the packages carry.
  file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog latest LIMIT_COUNT 1)
  if(NOT latest MATCHES "^formreel \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "cmake/debian/changelog has no entry for ${PROJECT_VERSION} at its top")
  endif()
  set(debian ${PROJECT_BINARY_DIR}/debian)
  add_custom_command(OUTPUT ${debian}/changelog.gz ${debian}/formentry.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${debian}
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/cmake/debian/changelog > ${debian}/changelog.gz
    COMMAND gzip -9nc ${man_page} > ${debian}/formentry.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog ${man_page}
    VERBATIM)
  add_custom_target(formreel_debian_files ALL DEPENDS ${debian}/changelog.gz ${debian}/formentry.1.gz)
  set(man_page ${debian}/formentry.1.gz)
  foreach(component IN ITEMS formentry development window)
    install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${debian}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${FORMREEL_DEBIAN_${component}} COMPONENT ${component})
  endforeach()
  set(guide_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${FORMREEL_DEBIAN_development})
endif()
if(NOT WIN32)
  install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT formentry)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/docs/forms.md ${PROJECT_SOURCE_DIR}/docs/formentry.png
        DESTINATION ${guide_dir} COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/guide DESTINATION ${guide_dir} COMPONENT development)
# The program and the clip it plays, side by side.
if(TARGET formreel)
  install(TARGETS formreel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
  install(FILES ${PROJECT_SOURCE_DIR}/media/SAMPLE.AVI DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
endif()
