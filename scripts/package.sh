#!/usr/bin/env bash
# Builds the Debian package of Vokabo Retano and checks it with lintian:
#   scripts/package.sh                          the release, from this source
#   scripts/package.sh -DVOKABO_VERSION=2.7.1   another version (any CMake option)
# The package lands in build/package/; the script prints its path and sizes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package

build=build/package
# The changelog and the metainfo's release carry the day of the source (the
# last commit), so the same source gives the same package.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH
# Debian's compiler and linker flags, with every hardening feature.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

# -U first: a version given to an earlier run does not stick to this one.
cmake -S . -B "$build" -G Ninja -U VOKABO_VERSION \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr -DVOKABO_DEB=ON \
  -DVOKABO_BUILD_TESTS=OFF -DVOKABO_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" "$@" >/dev/null
cmake --build "$build"
cpack_log=$(cd "$build" && cpack -G DEB)
echo "$cpack_log"
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$cpack_log")
[ -f "$deb" ] || { echo "cpack made no package" >&2; exit 1; }

echo "== lintian $deb"
lintian --fail-on error,warning "$deb"
echo "lintian: no errors, no warnings"

echo "package: $deb"
echo "package size: $(( ($(stat -c %s "$deb") + 1023) / 1024 )) KiB"
echo "installed size: $(dpkg-deb -f "$deb" Installed-Size) KiB"
