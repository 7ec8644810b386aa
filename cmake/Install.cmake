# Where `cmake --install` puts favlink: the program, its manual page and the
# README, at the usual places below the prefix (GNUInstallDirs):
#   <prefix>/bin/favlink
#   <prefix>/share/man/man1/favlink.1
#   <prefix>/share/doc/favlink/README.md
# Included once from the top-level CMakeLists.txt; it also sets up the
# packages (cmake/Package.cmake).

include(GNUInstallDirs)

install(TARGETS favlink RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/favlink.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
