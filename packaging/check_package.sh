#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The .deb as a user gets it: packages the existing build (cpack builds nothing), shows its
# control data and contents, extracts it into a temporary root (dpkg-deb -x) and checks what
# landed there: the menu entry passes desktop-file-validate, the icons are there (the PNG
# 48 px square), the manual page formats without warnings, the completion completes, and
# brinvale-cli --version and drives run from there as an ordinary user with a fresh HOME,
# keeping their files in that HOME.
#   check_package.sh CPACK BUILD_DIR VERSION
set -eu
cpack=$1
build=$2
version=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack"
fi
deb=$(ls "$work"/out/*.deb)
echo "== $(basename "$deb"), $(wc -c <"$deb") bytes"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends Section
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "package version"
depends=$(dpkg-deb --field "$deb" Depends)
for qt in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libqt6svg6 libqt6printsupport6 \
          fonts-liberation; do
  case $depends in *"$qt"*) ;; *) fail "Depends lacks $qt" ;; esac
done

dpkg-deb -x "$deb" "$work/root"
root=$work/root
echo "== files"
(cd "$root" && find . -type f | sort)
for file in usr/bin/brinvale usr/bin/brinvale-cli usr/share/applications/brinvale.desktop \
            usr/share/icons/hicolor/scalable/apps/brinvale.svg \
            usr/share/icons/hicolor/48x48/apps/brinvale.png usr/share/man/man1/brinvale-cli.1.gz \
            usr/share/bash-completion/completions/brinvale-cli usr/share/doc/brinvale/copyright \
            usr/share/doc/brinvale/examples/brinvale-mail-changes; do
  [ -s "$root/$file" ] || fail "$file is missing"
done
if find "$root" -name '*_test' | grep -q .; then fail "test programs in the package"; fi

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

echo "== manual page"
gzip -dc "$root/usr/share/man/man1/brinvale-cli.1.gz" >"$work/brinvale-cli.1"
warnings=$(groff -man -Tutf8 -ww -z "$work/brinvale-cli.1" 2>&1)
[ -z "$warnings" ] || fail "groff: $warnings"
grep -q "Brinvale $version" "$work/brinvale-cli.1" || fail "manual page version"
echo "formats without warnings"

echo "== bash completion"
completed=$(bash -c '
  . "$1"
  complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=(); _brinvale_cli; echo "${COMPREPLY[*]}"; }
  complete_words brinvale-cli com
  complete_words brinvale-cli compare --js
  complete_words brinvale-cli run --pro' _ "$root/usr/share/bash-completion/completions/brinvale-cli")
echo "$completed"
[ "$completed" = "$(printf 'compare\n--json\n--progress --program-folder')" ] || fail "completion"

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
[ "$got" = "brinvale-cli $version" ] || fail "--version said '$got'"
echo "== brinvale-cli drives"
as_user "$root/usr/bin/brinvale-cli" drives >"$work/drives.txt" || fail "drives exited $?"
cat "$work/drives.txt"
grep -q '^c: \[/\] .*no profile$' "$work/drives.txt" || fail "drives lists no c: [/] without a profile"
[ -f "$home/.local/share/Brinvale/drives.txt" ] || fail "the program folder is not in HOME"
echo "program folder: \$HOME/.local/share/Brinvale"
echo "== package check passed"
