#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The two .deb packages as a user gets them: packages the existing build (cpack builds
# nothing), shows their control data and contents, and checks:
#   - brinvale-cli's program needs no Qt library but Qt Core, and its Depends name no Qt
#     desktop module; brinvale depends on brinvale-cli of its own version;
#   - no file is in both, and an upgrade from the single brinvale 1.0.1 package to the pair
#     installs into a scratch root (dpkg --root) without a file conflict;
#   - lintian -I --pedantic reports no error and no warning, the programs are hardened and
#     carry no .comment section, the AppStream metadata validates;
#   - extracted into a temporary root (dpkg-deb -x): the menu entry passes
#     desktop-file-validate, the icons are there (the PNG 48 px square), the manual pages
#     format without warnings, the completion completes, and brinvale-cli --version and
#     drives run from there as an ordinary user with a fresh HOME, keeping their files in
#     that HOME.
#   check_package.sh CPACK BUILD_DIR DEBIAN_VERSION SOURCE_DIR
set -eu
cpack=$1
build=$2
version=$3
source=$4
upstream=${version%-*}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
contains() {  # contains TEXT WORD: WORD is one of the comma-separated items of TEXT
  case ", $1," in *", $2"[\ ,]*) return 0 ;; *) return 1 ;; esac
}

start=$(date +%s)
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack"
fi
echo "== cpack made $(cd "$work/out" && ls *.deb | tr '\n' ' ')in $(($(date +%s) - start)) s"
cli_deb=$work/out/brinvale-cli_${version}_amd64.deb
window_deb=$work/out/brinvale_${version}_amd64.deb
[ -f "$cli_deb" ] || fail "no brinvale-cli_${version}_amd64.deb"
[ -f "$window_deb" ] || fail "no brinvale_${version}_amd64.deb"
[ "$(ls "$work"/out/*.deb | wc -l)" -eq 2 ] || fail "more than the two packages"

for deb in "$cli_deb" "$window_deb"; do
  echo "== $(basename "$deb"), $(wc -c <"$deb") bytes"
  dpkg-deb --field "$deb" Package Version Maintainer Depends Recommends Breaks Replaces Section
  [ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "$(basename "$deb"): version"
  [ "$(dpkg-deb --field "$deb" Maintainer)" = "Brinvale Developers <developers@brinvale.org>" ] ||
    fail "$(basename "$deb"): maintainer"
done

echo "== what each package needs"
cli_depends=$(dpkg-deb --field "$cli_deb" Depends)
for package in libqt6core6 libzstd1; do
  contains "$cli_depends" "$package" || fail "brinvale-cli does not depend on $package"
done
for package in libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6multimedia6 libqt6svg6 \
               fonts-liberation; do
  contains "$cli_depends" "$package" && fail "brinvale-cli depends on $package"
done
for field in Breaks Replaces; do
  [ "$(dpkg-deb --field "$cli_deb" $field)" = "brinvale (<< 1.1.0~)" ] ||
    fail "brinvale-cli's $field do not take over the files of the single package"
done
window_depends=$(dpkg-deb --field "$window_deb" Depends)
contains "$window_depends" "brinvale-cli (= $version)" ||
  fail "brinvale does not depend on brinvale-cli (= $version)"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libqt6svg6 \
               libqt6printsupport6 libqt6charts6 fonts-liberation; do
  contains "$window_depends" "$package" || fail "brinvale does not depend on $package"
done
echo "brinvale-cli: Qt Core and libzstd; brinvale: brinvale-cli (= $version) and Qt's desktop"

dpkg-deb -x "$cli_deb" "$work/cli"
dpkg-deb -x "$window_deb" "$work/window"
(cd "$work/cli" && find . ! -type d | sort) >"$work/cli.files"
(cd "$work/window" && find . ! -type d | sort) >"$work/window.files"
echo "== brinvale-cli's files"
cat "$work/cli.files"
echo "== brinvale's files"
cat "$work/window.files"
both=$(comm -12 "$work/cli.files" "$work/window.files")
[ -z "$both" ] || fail "in both packages: $both"
for file in usr/bin/brinvale-cli usr/share/man/man1/brinvale-cli.1.gz \
            usr/share/bash-completion/completions/brinvale-cli usr/share/doc/brinvale-cli/copyright \
            usr/share/doc/brinvale-cli/changelog.Debian.gz \
            usr/share/doc/brinvale-cli/scheduled-runs.md usr/share/doc/brinvale-cli/json_changes.md \
            usr/share/doc/brinvale-cli/examples/brinvale-mail-changes \
            usr/share/doc/brinvale-cli/examples/brinvale.service \
            usr/share/doc/brinvale-cli/examples/brinvale.timer; do
  [ -s "$work/cli/$file" ] || fail "brinvale-cli: $file is missing"
done
for file in usr/bin/brinvale usr/share/man/man1/brinvale.1.gz \
            usr/share/applications/brinvale.desktop \
            usr/share/metainfo/org.brinvale.Brinvale.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/brinvale.svg \
            usr/share/icons/hicolor/48x48/apps/brinvale.png usr/share/doc/brinvale/copyright \
            usr/share/doc/brinvale/changelog.Debian.gz; do
  [ -s "$work/window/$file" ] || fail "brinvale: $file is missing"
done
if find "$work/cli" "$work/window" -name '*_test' | grep -q .; then fail "test programs"; fi
for root in "$work/cli" "$work/window"; do
  top=$(gzip -dc "$root"/usr/share/doc/*/changelog.Debian.gz | head -1)
  [ "$top" = "brinvale ($version) stable; urgency=medium" ] ||
    fail "the changelog's latest entry is '$top', not $version"
done

echo "== the programs"
needed=$(objdump -p "$work/cli/usr/bin/brinvale-cli" | awk '$1 == "NEEDED" { print $2 }')
echo "brinvale-cli needs: $(echo $needed)"
qt=$(echo "$needed" | grep '^libQt6' || true)
[ "$qt" = "libQt6Core.so.6" ] || fail "brinvale-cli needs Qt libraries besides Core: $qt"
for program in "$work/cli/usr/bin/brinvale-cli" "$work/window/usr/bin/brinvale"; do
  name=$(basename "$program")
  readelf -S -W "$program" | grep -q ' \.comment ' && fail "$name has a .comment section"
  readelf -d -W "$program" | grep -q 'FLAGS.*BIND_NOW' || fail "$name is not linked with -z now"
  readelf -l -W "$program" | grep -q GNU_RELRO || fail "$name has no read-only relocations"
  symbols=$(objdump -T "$program")
  echo "$symbols" | grep -q '__stack_chk_fail' || fail "$name has no stack protector"
  echo "$symbols" | grep -v '__stack_chk_fail' | grep -q '__[a-z0-9_]*_chk' ||
    fail "$name calls no fortified function"
  echo "$name: relro, bind now, stack protector, fortified calls, no .comment"
done

echo "== upgrade from the single brinvale 1.0.1 package"
# The files of brinvale 1.0.1, the one package that held both programs; empty stand-ins are
# enough for dpkg to see whose file is whose.
old=$work/old
for file in usr/bin/brinvale usr/bin/brinvale-cli usr/share/applications/brinvale.desktop \
            usr/share/icons/hicolor/scalable/apps/brinvale.svg \
            usr/share/icons/hicolor/48x48/apps/brinvale.png usr/share/man/man1/brinvale-cli.1.gz \
            usr/share/bash-completion/completions/brinvale-cli usr/share/doc/brinvale/copyright \
            usr/share/doc/brinvale/README.md usr/share/doc/brinvale/json_changes.md \
            usr/share/doc/brinvale/scheduled-runs.md usr/share/doc/brinvale/profile_format.md \
            usr/share/doc/brinvale/program_folder.md \
            usr/share/doc/brinvale/examples/brinvale-mail-changes; do
  mkdir -p "$old/$(dirname "$file")"
  echo "1.0.1" >"$old/$file"
done
mkdir -p "$old/DEBIAN"
cat >"$old/DEBIAN/control" <<EOF
Package: brinvale
Version: 1.0.1
Architecture: amd64
Maintainer: The Brinvale developers
Description: tells you what changed on your disks since it last looked
EOF
dpkg-deb --root-owner-group --build "$old" "$work/brinvale_1.0.1_amd64.deb" >/dev/null
scratch=$work/scratch
admin=$scratch/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
touch "$admin/status" "$admin/available"
in_scratch() {
  force=--force-depends
  [ "$(id -u)" -eq 0 ] || force="$force,not-root"
  PATH=/usr/sbin:/usr/bin:/sbin:/bin dpkg --root="$scratch" --admindir="$admin" \
    --log=/dev/null "$force" "$@"
}
in_scratch -i "$work/brinvale_1.0.1_amd64.deb" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log" >&2; fail "installing 1.0.1"; }
# As apt does it: brinvale-cli breaks the old brinvale, which is deconfigured while both are
# unpacked.
in_scratch --auto-deconfigure -i "$cli_deb" "$window_deb" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log" >&2; fail "upgrading to $version"; }
grep -i 'conflict\|overwrit' "$work/dpkg.log" && fail "file conflict"
for package in brinvale-cli brinvale; do
  status=$(in_scratch -s "$package" | sed -n 's/^Status: //p')
  [ "$status" = "install ok installed" ] || fail "$package: $status"
done
[ "$(in_scratch -S /usr/bin/brinvale-cli | cut -d: -f1)" = "brinvale-cli" ] ||
  fail "/usr/bin/brinvale-cli does not belong to brinvale-cli"
[ ! -e "$scratch/usr/share/doc/brinvale/README.md" ] || fail "1.0.1's documents were left behind"
cmp -s "$scratch/usr/bin/brinvale-cli" "$work/cli/usr/bin/brinvale-cli" ||
  fail "the new brinvale-cli is not the one installed"
echo "1.0.1, then $version: both installed, no file conflict"

echo "== lintian -I --pedantic"
start=$(date +%s)
command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps.sh)"
# Exit status 1 only says that tags were found (which ones decides); 2 that lintian failed.
status=0
lintian -I --pedantic --no-cfg "$cli_deb" "$window_deb" >"$work/lintian.log" 2>&1 || status=$?
cat "$work/lintian.log"
echo "(lintian took $(($(date +%s) - start)) s)"
[ "$status" -le 1 ] || fail "lintian failed ($status)"
if grep -q '^[EW]: ' "$work/lintian.log"; then fail "lintian reports errors or warnings"; fi

echo "== appstreamcli validate --no-net"
metainfo=$work/window/usr/share/metainfo/org.brinvale.Brinvale.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "AppStream metadata"
grep -q "<release version=\"$upstream\"" "$metainfo" || fail "no AppStream release $upstream"
launched=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$work/window/usr/share/applications/$launched" ] || fail "launches '$launched', not there"

root=$work/window
echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/brinvale.desktop" || fail "desktop entry"
echo "ok"

echo "== icon"
python3 - "$root/usr/share/icons/hicolor/48x48/apps/brinvale.png" <<'PY' || fail "48 px icon"
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
width, height = struct.unpack(">II", data[16:24])
assert (width, height) == (48, 48), (width, height)
print("PNG %dx%d, %d bytes" % (width, height, len(data)))
PY

echo "== manual pages"
for page in "$work/cli/usr/share/man/man1/brinvale-cli.1.gz" \
            "$work/window/usr/share/man/man1/brinvale.1.gz"; do
  gzip -dc "$page" >"$work/page.1"
  warnings=$(groff -man -Tutf8 -ww -z "$work/page.1" 2>&1)
  [ -z "$warnings" ] || fail "groff: $(basename "$page"): $warnings"
  grep -q "Brinvale $upstream" "$work/page.1" || fail "manual page version of $(basename "$page")"
  echo "$(basename "$page") formats without warnings"
done

root=$work/cli
echo "== bash completion"
completed=$(bash -c '
  . "$1"
  complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=(); _brinvale_cli; echo "${COMPREPLY[*]}"; }
  complete_words brinvale-cli com
  complete_words brinvale-cli compare --js
  complete_words brinvale-cli run --pro' _ "$root/usr/share/bash-completion/completions/brinvale-cli")
echo "$completed"
[ "$completed" = "$(printf 'compare\n--json\n--progress --program-folder')" ] || fail "completion"

echo "== the example units are the documented ones"
for unit in brinvale.service brinvale.timer; do
  python3 - "$root/usr/share/doc/brinvale-cli/examples/$unit" "$source/docs/scheduled-runs.md" <<'PY' ||
import sys
assert "```ini\n" + open(sys.argv[1]).read() + "```" in open(sys.argv[2]).read()
PY
    fail "docs/scheduled-runs.md does not show $unit as it is"
done
echo "ok"

# An ordinary user: nobody when the suite runs as root.
home=$work/home
mkdir "$home"
as_user() {
  if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$home"
    setpriv --reuid=65534 --regid=65534 --clear-groups \
      env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
  else
    env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
  fi
}
echo "== brinvale-cli --version (as $(as_user id -un))"
got=$(as_user "$root/usr/bin/brinvale-cli" --version)
echo "$got"
[ "$got" = "brinvale-cli $upstream" ] || fail "--version said '$got'"
echo "== brinvale-cli drives"
as_user "$root/usr/bin/brinvale-cli" drives >"$work/drives.txt" || fail "drives exited $?"
cat "$work/drives.txt"
grep -q '^c: \[/\] .*no profile$' "$work/drives.txt" || fail "drives lists no c: [/] without a profile"
[ -f "$home/.local/share/Brinvale/drives.txt" ] || fail "the program folder is not in HOME"
echo "program folder: \$HOME/.local/share/Brinvale"
echo "== package check passed"
