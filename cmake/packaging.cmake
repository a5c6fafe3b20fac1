# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installing Brinvale and packaging it as a .deb for Debian 12: the two programs, the menu
# entry and its icon (scalable, and 48 px drawn from the same SVG at build time), the manual
# page, bash completion and the documents a user of the package reads.
#   cmake --install build --prefix /usr/local        (or: sudo bash scripts/install-package.sh)
#   cpack -G DEB --config build/CPackConfig.cmake    (packages the existing build, builds nothing)
include(GNUInstallDirs)

set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)

# The icon for themes that want pixels, drawn by Qt's own SVG renderer.
add_executable(render_icon ${PROJECT_SOURCE_DIR}/packaging/render_icon.cpp)
target_link_libraries(render_icon PRIVATE Qt6::Gui Qt6::Svg brinvale_warnings)
set(icon_svg ${PROJECT_SOURCE_DIR}/app/resources/brinvale.svg)
set(icon_png ${packaging_dir}/48x48/brinvale.png)
add_custom_command(
  OUTPUT ${icon_png}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_dir}/48x48
  COMMAND render_icon ${icon_svg} 48 ${icon_png}
  DEPENDS render_icon ${icon_svg}
  COMMENT "Drawing the 48 px icon"
  VERBATIM)

# The manual page with the one version number, compressed as Debian keeps manual pages.
configure_file(${PROJECT_SOURCE_DIR}/packaging/brinvale-cli.1.in ${packaging_dir}/brinvale-cli.1
               @ONLY)
set(man_page ${packaging_dir}/brinvale-cli.1.gz)
add_custom_command(
  OUTPUT ${man_page}
  COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" ${packaging_dir}/brinvale-cli.1 ${man_page}
  DEPENDS ${packaging_dir}/brinvale-cli.1
  VERBATIM)
add_custom_target(brinvale_install_files ALL DEPENDS ${icon_png} ${man_page})

install(TARGETS brinvale brinvale-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/brinvale.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${icon_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/brinvale-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME brinvale-cli)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_SOURCE_DIR}/README.md
              ${PROJECT_SOURCE_DIR}/docs/json_changes.md
              ${PROJECT_SOURCE_DIR}/docs/scheduled-runs.md
              ${PROJECT_SOURCE_DIR}/docs/profile_format.md
              ${PROJECT_SOURCE_DIR}/docs/program_folder.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brinvale)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/packaging/brinvale-mail-changes
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brinvale/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brinvale)
set(CPACK_PACKAGE_VENDOR "The Brinvale developers")
set(CPACK_PACKAGE_CONTACT "The Brinvale developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tells you what changed on your disks since it last looked")
set(CPACK_PACKAGE_DESCRIPTION
    "Brinvale keeps a profile of every drive you pick (size, modification time, folder and \
name of each file), rescans, and writes a colour change report of the files added, deleted, \
grown, shrunk or re-timed, with byte totals: the window program brinvale, and the command \
line brinvale-cli, which also writes the changes as JSON Lines for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The Qt libraries and everything else the programs link, from dpkg-shlibdeps, so the
# dependencies are Debian's own packages at the versions this build was made with. By name:
# Qt's SVG plugins, which draw the icon and the toolbar's pictures (no symbol of the library
# is linked, so dpkg-shlibdeps cannot see them), and the report's font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation")
# The sound cues play through GStreamer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base")
include(CPack)

if(BRINVALE_BUILD_TESTS)
  # The package as a user gets it, made from this build tree without building anything.
  add_test(NAME package_test COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/check_package.sh
                                     ${CMAKE_CPACK_COMMAND} ${PROJECT_BINARY_DIR} ${PROJECT_VERSION})
  add_test(NAME mail_changes_test COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/mail_changes_test.sh
                                          $<TARGET_FILE:brinvale-cli> ${PROJECT_SOURCE_DIR})
endif()
