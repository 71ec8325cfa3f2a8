#!/usr/bin/env bash
# `nadavo info` as a script sees it: archives made by another zip writer,
# JSON on standard output, clean failures, and no reading of standard input.
set -u
tool="$1"
composition="$2"   # a composition file to pack as Main.nvc
python=/usr/bin/python3; [ -x "$python" ] || python=python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NADAVO_HOME="$work/home"
mkdir -p "$NADAVO_HOME"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; fi; }

# Archives written by Python's zipfile: a song with a title, one with an entry
# that points out of the temp folder, one without a composition.
"$python" - "$work" "$composition" <<'PY'
import sys, zipfile
work, composition = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(work + "/song.nvz", "w", zipfile.ZIP_DEFLATED) as z:
    z.write(composition, "Main.nvc")
    z.writestr("SongInfo.nvc", "<SongInfo><Title>Evening Raag</Title></SongInfo>")
with zipfile.ZipFile(work + "/hostile.nvz", "w", zipfile.ZIP_STORED) as z:
    z.write(composition, "Main.nvc")
    z.writestr("../../../../escaped.txt", "x")
    z.writestr("/tmp/nadavo-escaped-%s.txt" % work.replace("/", "_"), "x")
with zipfile.ZipFile(work + "/nosong.nvz", "w") as z:
    z.writestr("SongInfo.nvc", "<SongInfo/>")
PY
printf 'plain text' > "$work/text.nvz"

out=$(timeout 60 "$tool" info "$work/song.nvz" 2>"$work/err" </dev/null); rc=$?
check "info on a song exits 0 (got $rc: $(tr '\r' '|' <"$work/err"))" '[ $rc -eq 0 ]'
check "info prints the song as JSON" '"$python" -c "
import json, sys
song = json.loads(sys.argv[1])
assert song[\"name\"] == \"song\", song[\"name\"]
assert song[\"info\"][\"Title\"] == \"Evening Raag\"
assert len(song[\"info\"]) == 10 and song[\"info\"][\"OriginalCopyright\"] == \"\"
assert isinstance(song[\"tempo\"], int) and song[\"tracks\"]
for t in song[\"tracks\"]:
    assert set(t) == {\"index\", \"caption\", \"instrument\", \"audio\", \"mute\", \"volume\", \"pan\", \"loops\"}, t
    for l in t[\"loops\"]:
        assert set(l) == {\"name\", \"start\", \"end\", \"file\"} and l[\"start\"] < l[\"end\"], l
" "$out"'
check "progress goes to standard error" 'grep -q "Loading complete 100%" "$work/err"'

out=$(timeout 60 "$tool" info "$work/hostile.nvz" 2>"$work/err" </dev/null); rc=$?
check "an archive with escaping entries still opens (got $rc)" '[ $rc -eq 0 ]'
check "the escaping entries are named on standard error" 'grep -q "ignoring archive entry .../../../../escaped.txt" "$work/err"'
check "nothing is written outside the temp folder" '[ ! -e "$work/escaped.txt" ] && [ ! -e "$NADAVO_HOME/escaped.txt" ] && ! ls /tmp/nadavo-escaped-* >/dev/null 2>&1'

for bad in text nosong missing; do
  out=$(timeout 60 "$tool" info "$work/$bad.nvz" 2>"$work/err" </dev/null); rc=$?
  check "info on $bad exits 1 (got $rc)" '[ $rc -eq 1 ]'
  check "info on $bad prints one error line" '[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "^nadavo: " "$work/err"'
  check "info on $bad prints nothing on standard output" '[ -z "$out" ]'
done

timeout 60 "$tool" info >/dev/null 2>&1 </dev/null; rc=$?
check "info without a file exits 2 (got $rc)" '[ $rc -eq 2 ]'
help=$(timeout 60 "$tool" info --help </dev/null); rc=$?
check "info --help exits 0 and shows its usage" '[ $rc -eq 0 ] && grep -q "usage: nadavo info SONG.nvz" <<<"$help"'
check "the user's folders are untouched" '[ -z "$(ls -A "$NADAVO_HOME")" ]'
exit $fail
