#!/usr/bin/env bash
# Installs the Debian packages a given task needs, and only those missing.
#   scripts/deps.sh build   - compiler, CMake, Qt
#   scripts/deps.sh test    - the above, plus what the tests and benchmarks use
#   scripts/deps.sh package - the build's, plus what makes and checks the Debian package
#   scripts/deps.sh desktops - the test set, plus the desktops tried by hand
#                             (tools/desktops: GNOME Shell and KWin, headless)
set -euo pipefail

# libqt6svg6 holds the SVG icon-engine and image-format plugins that draw
# the program's icon at run time; libxcb1-dev lets the program see a
# full-screen window on X11; libqt6sql6-sqlite is the SQLite driver of the
# answer history, qt6-charts-dev draws the progress window.
build_pkgs=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools
            qt6-qpa-plugins libqt6svg6 fonts-liberation2 libxcb1-dev
            libqt6sql6-sqlite qt6-charts-dev)
# Reading words aloud: Qt's speech module (its CMake files and header need
# qt6-declarative-dev's QmlIntegration, which Debian's qt6-speech-dev does not
# pull in), and at run time the speech-dispatcher plug-in, the service and
# espeak-ng's voices (speech-dispatcher-espeak-ng joins the two).
build_pkgs+=(qt6-speech-dev qt6-declarative-dev libqt6texttospeech6 qt6-speech-speechd-plugin
             speech-dispatcher speech-dispatcher-espeak-ng espeak-ng)
test_pkgs=(clang-format xvfb xauth x11-xkb-utils xkb-data openbox trayer xdotool x11-utils imagemagick dbus-x11
           at-spi2-core python3 python3-pyatspi desktop-file-utils appstream libxcb1-dev)
# a stand-in notification service, and a full-screen window to hold questions for
test_pkgs+=(python3-dbus gir1.2-gtk-3.0)
# GNOME's "do not disturb" as the program reads it: the gsettings command and
# GNOME's settings schemas
test_pkgs+=(libglib2.0-bin gsettings-desktop-schemas)
# a StatusNotifierItem host (the watcher and a panel) for the end-to-end tests
test_pkgs+=(haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils)
# a speech service that plays into a sink of its own, recorded and measured; a terminal to type in
test_pkgs+=(pulseaudio pulseaudio-utils sox xterm)
# a Wayland session with XWayland, and Qt's Wayland platform for the user who chooses it
test_pkgs+=(weston xwayland qt6-wayland)
# clang and its libFuzzer for the word-file fuzz target (tests/fuzz)
test_pkgs+=(clang-14 libclang-rt-14-dev)

# dpkg-shlibdeps (dpkg-dev) finds the package's library dependencies; lintian
# checks the package
package_pkgs=(dpkg-dev lintian)
# GNOME Shell and KWin on a virtual screen, and the desktop portal a GNOME
# session has
desktop_pkgs=(gnome-shell kwin-wayland xdg-desktop-portal xdg-desktop-portal-gnome)

want=("${build_pkgs[@]}")
case "${1:-build}" in
  test) want+=("${test_pkgs[@]}") ;;
  package) want+=("${package_pkgs[@]}") ;;
  desktops) want+=("${test_pkgs[@]}" "${desktop_pkgs[@]}") ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
