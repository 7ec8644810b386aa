# Packages made by `cpack` in a build folder (see `make package`):
#   POSIX build: favlink_<version>_<arch>.deb, the tree of cmake/Install.cmake
#                below /usr. Its dependencies come from dpkg-shlibdeps when
#                that is installed (package dpkg-dev), else libc6, libstdc++6
#                and liblz4-1.
# The zip of the Windows executables is made by cmake/package_windows.sh, not
# here: it takes the executables of two build folders (x64 and x86) at once.

set(FAVLINK_MAINTAINER "favlink maintainers <favlink@example.org>" CACHE STRING
    "Maintainer named in the Debian package")

set(CPACK_PACKAGE_NAME favlink)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${FAVLINK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "turn .url shortcut files into an HTML link page, and links into .url files")
set(CPACK_PACKAGE_DESCRIPTION
    "favlink is a small console tool for Favorites shortcut files (.url).
In link page mode it reads the URL= line of each .url file named on the
command line and writes one HTML link page on standard output, grouped
under a heading per folder, as an ordered list or a numbered definition
list. In shortcut mode it scans an HTML page or a bookmark file, optionally
only one top-level folder, and writes one .url file per link, named after
the link's caption made safe as a Windows file name; existing files are
never replaced. Names, captions and URLs are Shift_JIS (CP932) text and
pass through unconverted.")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  # A cross build's own cpack gives a plain zip of its install tree; the
  # release zip is package_windows.sh's.
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
endif()
# Packages land in the build folder itself, not in a sub-folder.
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FAVLINK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
find_program(FAVLINK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(FAVLINK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, liblz4-1")
endif()

include(CPack)
