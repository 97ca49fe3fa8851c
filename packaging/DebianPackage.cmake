# The Debian package vokabo-retano_<version>-<revision>_<arch>.deb, made by
# `cpack -G DEB` in a build configured by scripts/package.sh.

# ---------------------------------------------------------------------------
# Packages the program needs at run time that no library link names, so that
# dpkg-shlibdeps cannot find them: Qt loads these plug-ins (and the fonts) by
# name while it runs. When a feature makes the program load another plug-in,
# name its package here; the check of the installed package (tests/package)
# fails on any library or plug-in the running program maps from a package
# these lists and the linked libraries do not bring.
set(VOKABO_RUNTIME_DEPENDS
  # the SVG icon engine and image format: the window and tray icon are SVG
  libqt6svg6
  # Qt SQL's SQLite driver (QSQLITE): the answer history
  libqt6sql6-sqlite
  # the fonts whose metrics the windows are laid out for
  fonts-liberation2
)
set(VOKABO_RUNTIME_RECOMMENDS
  # reading words aloud: Qt TextToSpeech's speech-dispatcher plug-in, the
  # speech service and its voice (speech-dispatcher alone has no voice: its
  # espeak-ng module comes in a package of its own, with espeak-ng's voices)
  qt6-speech-speechd-plugin
  speech-dispatcher
  speech-dispatcher-espeak-ng
  # Xcursor, which Qt's X11 platform opens itself, so the pointer takes the
  # desktop's cursor theme (without it Qt draws X's own pointers)
  libxcursor1
)
set(VOKABO_RUNTIME_SUGGESTS
  # Qt's Wayland platform, for a user who chooses it over XWayland
  qt6-wayland
)
# ---------------------------------------------------------------------------

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "A Debian package installs into /usr: configure with "
                      "-DCMAKE_INSTALL_PREFIX=/usr (scripts/package.sh does)")
endif()

set(VOKABO_DEB_REVISION 1)
set(VOKABO_DEB_VERSION ${PROJECT_VERSION}-${VOKABO_DEB_REVISION})

# The Debian changelog names this package's version; its date is the
# source's (SOURCE_DATE_EPOCH), like the release in the metainfo.
string(TIMESTAMP VOKABO_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/deb/changelog.Debian)
configure_file(changelog.in ${changelog} @ONLY)
add_custom_command(OUTPUT ${changelog}.gz
  COMMAND gzip -9nkf ${changelog}
  DEPENDS ${changelog} VERBATIM)
add_custom_target(deb_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vokabo-retano)
install(FILES lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME vokabo-retano)

list(JOIN VOKABO_RUNTIME_DEPENDS ", " runtime_depends)
list(JOIN VOKABO_RUNTIME_RECOMMENDS ", " runtime_recommends)
list(JOIN VOKABO_RUNTIME_SUGGESTS ", " runtime_suggests)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vokabo-retano)
set(CPACK_PACKAGE_VENDOR "${VOKABO_CONTACT_NAME}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VOKABO_CONTACT_NAME} <${VOKABO_CONTACT_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "foreign-word trainer that asks from the notification area")
set(CPACK_PACKAGE_DESCRIPTION [=[
Vokabo Retano helps a Turkish-speaking learner keep the foreign words he has
just learnt. It lives in the notification area and every few minutes opens a
small window on top of his work, without taking his keyboard, that asks one
of his words as a multiple-choice question. A right answer brings the next
question at once; words known well can be retired to a passive list.

The words are kept in the user's own data folder, one plain-text line each,
and can be brought in from and written out to CSV, tab-separated text and
KDE's vocabulary files. All its texts are Turkish.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VOKABO_DEB_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VOKABO_PROGRAM_PAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${runtime_depends}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${runtime_recommends}")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "${runtime_suggests}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
