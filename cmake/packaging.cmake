# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installing Brinvale and packaging it for Debian 12 as two packages from this one build:
#   brinvale-cli  the command line, its manual page, bash completion, the documents about
#                 its formats and scheduled runs with the mail script and example systemd
#                 units; needs Qt Core (and libzstd) only, so a server can have it alone
#   brinvale      the window: the program, its manual page, menu entry, icons (scalable, and
#                 48 px drawn from the same SVG at build time) and AppStream metadata; the
#                 help and the sound cues are compiled in. Depends on brinvale-cli of its
#                 own version.
#   cmake --install build --prefix /usr/local        (or: sudo bash scripts/install-package.sh)
#   cpack -G DEB --config build/CPackConfig.cmake    (packages the existing build, builds nothing)
include(GNUInstallDirs)

set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)
# The Debian revision of this build's packages: 1.1.0-1. A revision makes the packages
# non-native, which is what they are (the Debian side is a packaging of the program), and is
# why the changelog is changelog.Debian.
set(BRINVALE_DEBIAN_REVISION 1)

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

# Files compressed as Debian keeps them: gzip -9, no name or time stamp inside.
set(compressed_files)
function(brinvale_gzip source target)
  add_custom_command(
    OUTPUT ${target}
    COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" ${source} ${target}
    DEPENDS ${source}
    VERBATIM)
  set(compressed_files ${compressed_files} ${target} PARENT_SCOPE)
endfunction()

# The manual pages with the one version number.
foreach(page brinvale-cli brinvale)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${page}.1.in ${packaging_dir}/${page}.1 @ONLY)
  brinvale_gzip(${packaging_dir}/${page}.1 ${packaging_dir}/${page}.1.gz)
endforeach()
brinvale_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian ${packaging_dir}/changelog.Debian.gz)
configure_file(${PROJECT_SOURCE_DIR}/packaging/org.brinvale.Brinvale.metainfo.xml
               ${packaging_dir}/org.brinvale.Brinvale.metainfo.xml @ONLY)
add_custom_target(brinvale_install_files ALL DEPENDS ${icon_png} ${compressed_files})

# The command line.
install(TARGETS brinvale-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
install(FILES ${packaging_dir}/brinvale-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT cli)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/brinvale-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME brinvale-cli COMPONENT cli)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${packaging_dir}/changelog.Debian.gz
              ${PROJECT_SOURCE_DIR}/README.md
              ${PROJECT_SOURCE_DIR}/docs/json_changes.md
              ${PROJECT_SOURCE_DIR}/docs/scheduled-runs.md
              ${PROJECT_SOURCE_DIR}/docs/profile_format.md
              ${PROJECT_SOURCE_DIR}/docs/program_folder.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brinvale-cli COMPONENT cli)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/packaging/brinvale-mail-changes
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brinvale-cli/examples COMPONENT cli)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/brinvale.service
              ${PROJECT_SOURCE_DIR}/packaging/brinvale.timer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brinvale-cli/examples COMPONENT cli)

# The window.
install(TARGETS brinvale RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT window)
install(FILES ${packaging_dir}/brinvale.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT window)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/brinvale.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
install(FILES ${packaging_dir}/org.brinvale.Brinvale.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT window)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT window)
install(FILES ${icon_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        COMPONENT window)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${packaging_dir}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brinvale COMPONENT window)

# A stripped install (as the packages are made) also drops the compiler's .comment section
# and the .note section, as Debian's own packaging does: they say which compiler made the
# program, which the package's changelog and build information say already.
foreach(program brinvale-cli:cli brinvale:window)
  string(REPLACE ":" ";" program ${program})
  list(GET program 0 name)
  list(GET program 1 component)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${name}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()" COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brinvale)
set(CPACK_PACKAGE_VENDOR "The Brinvale developers")
set(CPACK_PACKAGE_CONTACT "Brinvale Developers <developers@brinvale.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brinvale Developers <developers@brinvale.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli window)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${BRINVALE_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SOURCE brinvale)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Depends from dpkg-shlibdeps: the libraries each program links, as Debian's packages at the
# versions this build was made with (Qt Core and libzstd for the command line; Qt's desktop
# modules for the window). Add a library to a program and its package follows; the lists
# below are what linking cannot show.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_CLI_PACKAGE_NAME brinvale-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_CLI_DESCRIPTION
    "what changed on your disks since it last looked, on the command line
Brinvale keeps a profile of every drive you pick (size, modification time,
folder and name of each file), rescans, and reports the files added, deleted,
grown, shrunk or re-timed, with byte totals.
.
This package holds the command line, brinvale-cli: runs for cron or a systemd
timer, comparisons of any two profiles, the changes as JSON Lines for scripts,
and the plain text of saved reports. It needs no desktop.")
# Until 1.1.0 one package, brinvale, held the command line's files.
set(CPACK_DEBIAN_CLI_PACKAGE_REPLACES "brinvale (<< 1.1.0~)")
set(CPACK_DEBIAN_CLI_PACKAGE_BREAKS "brinvale (<< 1.1.0~)")
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME brinvale)
set(CPACK_DEBIAN_WINDOW_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_WINDOW_DESCRIPTION
    "see what changed on your disks since you last looked
Brinvale keeps a profile of every drive you pick (size, modification time,
folder and name of each file), rescans, and shows a colour change report of
the files added, deleted, grown, shrunk or re-timed, with byte totals, to save
or print.
.
This package holds the window program, brinvale; the command line is in
brinvale-cli.")
# The window depends on the command line of its own version (from the component's
# dependency), on Qt's SVG plugins, which draw the icon and the toolbar's pictures (no symbol
# of the library is linked, so dpkg-shlibdeps cannot see them), and on the report's font.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation")
# The sound cues play through GStreamer.
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base")
include(CPack)
cpack_add_component(cli DISPLAY_NAME "Command line")
cpack_add_component(window DISPLAY_NAME "Window" DEPENDS cli)

if(BRINVALE_BUILD_TESTS)
  # The package as a user gets it, made from this build tree without building anything. Not
  # in a sanitizer build: its programs link the sanitizers' runtimes and go without the
  # hardening the check asks of a package.
  if(NOT BRINVALE_SANITIZE)
    add_test(NAME package_test
             COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/check_package.sh ${CMAKE_CPACK_COMMAND}
                     ${PROJECT_BINARY_DIR} ${PROJECT_VERSION}-${BRINVALE_DEBIAN_REVISION}
                     ${PROJECT_SOURCE_DIR})
  endif()
  # Every example of the README, docs/ and the manual pages that stays inside a scratch HOME,
  # run against the command line installed from this build.
  add_test(NAME docs_examples_test
           COMMAND python3 ${PROJECT_SOURCE_DIR}/packaging/docs_examples_test.py ${CMAKE_COMMAND}
                   ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  add_test(NAME mail_changes_test COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/mail_changes_test.sh
                                          $<TARGET_FILE:brinvale-cli> ${PROJECT_SOURCE_DIR})
endif()
