# Packages a user installs, made by cpack from a build without the
# sanitizers:
#   Linux:   a Debian package, formreel_VERSION_ARCH.deb, configured with
#            -DCMAKE_INSTALL_PREFIX=/usr (the linux-package preset), so that
#            find_package(formreel) finds it with no prefix path;
#   Windows: a .zip of the install tree (the program, its clip, formentry,
#            the headers, the library and the CMake package).
set(CPACK_PACKAGE_NAME formreel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "formreel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard forms described at run time, for C++ programs and scripts")
set(CPACK_PACKAGE_DESCRIPTION
    "A form is described at run time by one descriptor string of typed fields\n(texts, 16-bit and 32-bit integers, single and double reals, a choice\nfrom a list, a row of buttons). formentry shows it in the terminal, or as\nplain lines for screen readers, and prints the answers for a script; the\nlibrary and its headers give C++ programs the same forms.")
set(CPACK_STRIP_FILES TRUE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME formreel-${PROJECT_VERSION}-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "formreel developers <formreel@example.org>")
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # A program built on the library links ncursesw through pkg-config.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libncurses-dev, pkg-config")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

endif()

include(CPack)
