#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The scheduled-run script of docs/scheduled-runs.md: the document shows it as it is, and it
# mails nothing when nothing changed, the report when something did, and the lines of a run
# that failed. A stand-in `mail` on PATH keeps what it was given.
#   mail_changes_test.sh BRINVALE_CLI SOURCE_DIR
set -eu
cli=$1
source=$2
script=$source/packaging/brinvale-mail-changes
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

python3 - "$script" "$source/docs/scheduled-runs.md" <<'PY' || fail "the document does not show the script as it is"
import sys
assert open(sys.argv[1]).read() in open(sys.argv[2]).read()
PY

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/program" "$work/tree"
cat >"$work/bin/mail" <<MAIL
#!/bin/sh
{ echo "to: \$3"; echo "subject: \$2"; cat; } >"$work/mail.txt"
MAIL
chmod +x "$work/bin/mail"
printf 'X\t%s\n' "$work/tree" >"$work/program/drives.txt"
printf 'one' >"$work/tree/a.txt"
run() {
  rm -f "$work/mail.txt"
  status=0
  PATH="$work/bin:$PATH" BRINVALE_CLI="$cli" BRINVALE_MAIL_TO=someone sh "$script" \
    --program-folder "$work/program" "$@" || status=$?
}

run --yes X
[ "$status" -eq 0 ] || fail "creating the profile exited $status"
[ ! -e "$work/mail.txt" ] || fail "mail without a change"

printf 'two' >"$work/tree/b.txt"
run X
[ "$status" -eq 1 ] || fail "a change exited $status"
cat "$work/mail.txt"
grep -q '^to: someone$' "$work/mail.txt" || fail "addressee"
grep -q '^subject: Brinvale: changes on ' "$work/mail.txt" || fail "subject of changes"
# A new settings file names reports by drive, date and time.
stamped='Reports/Drive_X_[0-9]\{1,2\}-[0-9]\{1,2\}-[0-9][0-9]_[0-9]\{4\}\(_[0-9]*\)\{0,1\}\.txt'
grep -q "^x: \[.*\]: 2 files, 1 change, report $stamped\$" "$work/mail.txt" || fail "run's line"
grep -q '^   Added b.txt' "$work/mail.txt" || fail "the report's text"
if grep -q "$(printf '\r')" "$work/mail.txt"; then fail "CR in the mail"; fi

run X
[ "$status" -eq 0 ] && [ ! -e "$work/mail.txt" ] || fail "mail when nothing changed"

# Every run keeps its report: the mail holds the one this run wrote, not an earlier one.
printf 'three' >"$work/tree/c.txt"
run X
[ "$status" -eq 1 ] || fail "a second change exited $status"
grep -q 'Added b.txt' "$work/program/Reports"/* || fail "the earlier report was replaced"
grep -q '^   Added c.txt' "$work/mail.txt" || fail "the new report's text"
if grep -q 'Added b.txt' "$work/mail.txt"; then fail "an earlier report was mailed"; fi

printf 'Y\t%s\n' "$work/gone" >>"$work/program/drives.txt"
run --yes X Y
[ "$status" -eq 2 ] || fail "a failing drive exited $status"
grep -q '^subject: Brinvale: the run on .* failed (exit status 2)$' "$work/mail.txt" || fail "subject of a failure"
grep -q 'y: \[.*gone\]: failed, profile kept' "$work/mail.txt" || fail "the failed drive's line"
echo "mail script: silent on 0, mails on 1 and 2"
