# Packages a user installs, made by cpack from a build without the
# sanitizers:
#   Linux:   three Debian packages, configured with -DCMAKE_INSTALL_PREFIX=/usr
#            (the linux-package preset), each a component of the install
#            rules (cmake/Install.cmake):
#              formentry_VERSION_ARCH.deb, the command and its manual page,
#                which needs only the run-time libraries dpkg-shlibdeps
#                finds (the C library and ncurses') and suggests the
#                window;
#              formreel-window_VERSION_ARCH.deb, the desktop window's
#                module, which formentry and the library's programs load
#                when a form is shown in a window, with GTK 4 and the
#                rest that dpkg-shlibdeps finds: a script user who never
#                asks for a window installs no GTK;
#              libformreel-dev_VERSION_ARCH.deb, the headers, the library,
#                the CMake package (found by find_package(formreel) with no
#                prefix path) and the guide, with what a program built on
#                it needs: libncurses-dev and pkg-config;
#   Windows: a .zip of the whole install tree (the program, its clip,
#            formentry, the headers, the library and the CMake package).
set(CPACK_PACKAGE_NAME formreel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "formreel")
set(CPACK_STRIP_FILES TRUE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard forms described at run time, for C++ programs and scripts")
  set(CPACK_PACKAGE_FILE_NAME formreel-${PROJECT_VERSION}-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL formentry development window)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SOURCE formreel)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "formreel developers <formreel@example.org>")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
  # Each description's first line is its summary; the rest is wrapped at 72
  # columns, as lintian wants.
  set(form_text
      "A form is described at run time by one descriptor string of typed\nfields (texts, 16-bit and 32-bit integers, single and double reals, a\nchoice from a list, a row of buttons).")

  set(CPACK_DEBIAN_FORMENTRY_PACKAGE_NAME ${FORMREEL_DEBIAN_formentry})
  set(CPACK_DEBIAN_FORMENTRY_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_FORMENTRY_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_FORMENTRY_DESCRIPTION
      "ask a person for typed values in a keyboard form, from a script\n${form_text}\nformentry shows the form full screen in the terminal, or as plain lines\nfor screen readers, checks every value against its type, and prints\nthe answers for the script, one line per field or as JSON; its exit\nstatus says how the form ended. With formreel-window it shows the form\nin a window on the desktop too.")
  # The module and the program that loads it are of one version exactly.
  set(window_of_this_version "${FORMREEL_DEBIAN_window} (= ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_FORMENTRY_PACKAGE_SUGGESTS ${window_of_this_version})

  set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME ${FORMREEL_DEBIAN_window})
  set(CPACK_DEBIAN_WINDOW_PACKAGE_SECTION x11)
  set(CPACK_DEBIAN_WINDOW_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_WINDOW_DESCRIPTION
      "keyboard forms of formentry and formreel in a desktop window\n${form_text}\nThis package holds the GTK 4 module that shows such a form in a\nwindow on the desktop (X11 or Wayland), accessible to screen readers:\nformentry --window, formentry without a terminal, and the programs\nbuilt on libformreel-dev load it when they show a form in a window.")

  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${FORMREEL_DEBIAN_development})
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
  # A program built on the library links ncursesw through pkg-config.
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libncurses-dev, pkg-config")
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS ${window_of_this_version})
  set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
      "keyboard forms described at run time, for C++ programs\n${form_text}\nThe library shows the form in the program's terminal, as plain lines\nfor screen readers, or, with formreel-window, in a desktop window, and\nhands every answer back in the program's own types. This package holds\nthe headers, the static library (position-independent), the CMake\npackage and the programmer's guide.")
endif()

include(CPack)
