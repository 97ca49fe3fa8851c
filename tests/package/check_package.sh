#!/usr/bin/env bash
# The Debian package on this machine, as a user has it (CI runs this as root):
# built and linted, installed with apt-get and its dependencies, run from
# /usr/bin on a desktop, upgraded by a newer build with the learner's words and
# settings kept, then purged without a trace under /usr.
set -euo pipefail
cd "$(dirname "$0")/../.."
started=$SECONDS
# the virtual desktop the installed program runs on
scripts/deps.sh test
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt_get() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@"; }
fail() { echo "FAIL package: $*" >&2; exit 1; }
deb_of() { sed -n 's/^package: //p' "$1"; }
installed_version() { dpkg-query -W -f='${db:Status-Abbrev}${Version}' vokabo-retano 2>/dev/null || true; }
# Anything but "not installed" (config files, half installed...) is something left.
known_to_dpkg() { installed_version | grep -qv '^.n'; }

logs=build/package/logs
mkdir -p "$logs"
echo "== Packaging the release"
scripts/package.sh | tee "$logs/older.txt"
older=$(deb_of "$logs/older.txt")
# The same source again as a later version: the package an upgrade brings.
version=$(sed -n 's/^VOKABO_VERSION:STRING=//p' build/package/CMakeCache.txt)
echo "== Packaging $version.1, to upgrade to"
scripts/package.sh -DVOKABO_VERSION="$version.1" | tee "$logs/newer.txt"
newer=$(deb_of "$logs/newer.txt")

# The learner's folders live through both versions; the package goes whatever happens.
user_dir=$(mktemp -d /tmp/vokabo-package-user-XXXXXX)
cleanup() {
  rm -rf "$user_dir"
  if known_to_dpkg; then apt_get purge vokabo-retano >/dev/null || true; fi
}
trap cleanup EXIT
desktop() {
  /usr/bin/python3 tests/e2e/run_e2e.py --exe /usr/bin/vokabo --installed --user-dir "$user_dir" \
    --shots build/package/e2e-shots --data tests/data "$1"
}
user_files() { (cd "$user_dir" && find home config -type f -print0 | sort -z | xargs -0r sha256sum); }

echo "== Installing $older"
# as a user would: with package lists that know its dependencies
apt_get update
apt_get install "$older"
[ "$(installed_version)" = "ii $(dpkg-deb -f "$older" Version)" ] || fail "not installed: $(installed_version)"
desktop installed_program
user_files >"$logs/user-files-before.txt"
[ -s "$logs/user-files-before.txt" ] || fail "the program left no words or settings"

echo "== Upgrading to $newer"
apt_get install "$newer"
[ "$(installed_version)" = "ii $(dpkg-deb -f "$newer" Version)" ] || fail "not upgraded: $(installed_version)"
user_files | diff "$logs/user-files-before.txt" - || fail "the upgrade changed the learner's files"
desktop installed_after_upgrade

echo "== Purging"
dpkg-query -L vokabo-retano >"$logs/files.txt"
apt_get purge vokabo-retano
! known_to_dpkg || fail "still known to dpkg: $(installed_version)"
left=$({
  while read -r path; do
    if [ -e "$path" ] && [ ! -d "$path" ]; then echo "$path"; fi
  done <"$logs/files.txt"
  find /usr -iname '*vokabo*' -print
} | sort -u)
[ -z "$left" ] || fail "left under /usr after the purge:"$'\n'"$left"
echo "package: built, linted, installed, run, upgraded and purged in $((SECONDS - started)) s"
