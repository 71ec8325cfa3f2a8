#!/usr/bin/env bash
# `nadavo new` and `nadavo render` as a script sees them: songs made from WAV
# and MP3 soundtracks, bounces checked by other decoders (sox, Python's zipfile),
# and failures that write nothing.
set -u
tool="$1"
python=/usr/bin/python3; [ -x "$python" ] || python=python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NADAVO_HOME="$work/home"
mkdir -p "$NADAVO_HOME"
cd "$work"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; fi; }
run() { timeout 120 "$tool" "$@" </dev/null 2>"$work/err"; }

# Four seconds of soundtrack at 44.1 kHz: 8 beats, 32 quarter beats at 120 BPM.
sox -n -r 44100 -c 2 -b 16 track.wav synth 4 sine 440 vol 0.5
sox -n -r 48000 -c 2 -b 16 fast.wav synth 4 sine 440 vol 0.5
lame --quiet -b 128 track.wav tune.mp3

# new: a song from a WAV soundtrack; ".nvz" is added.
out=$(run new track.wav -o first); rc=$?
check "new exits 0 (got $rc: $(tr '\r' '|' <err))" '[ $rc -eq 0 ]'
check "new prints the archive" '[ "$out" = "$work/first.nvz" ] && [ -f first.nvz ]'
check "the archive holds the composition, the song information and the soundtrack" '"$python" -c "
import sys, zipfile
z = zipfile.ZipFile(\"first.nvz\")
assert z.testzip() is None
names = sorted(z.namelist())
assert names == [\"Main.nvc\", \"RZ100000.wav\", \"SongInfo.nvc\"], names
assert all(i.compress_type == zipfile.ZIP_DEFLATED for i in z.infolist())
"'
json=$(run info first.nvz)
check "the song has the soundtrack on track 0 and an empty voice track" '"$python" -c "
import json, sys
song = json.loads(sys.argv[1])
t = song[\"tracks\"]
assert [x[\"caption\"] for x in t] == [\"SOUNDTRACK\", \"YOUR VOICE\"], t
assert all(x[\"audio\"] for x in t)
assert t[0][\"loops\"] == [{\"name\": \"track\", \"start\": 0, \"end\": 32, \"file\": \"RZ100000.wav\"}], t[0]
assert t[1][\"loops\"] == []
assert song[\"name\"] == \"first\" and song[\"tempo\"] == 120
" "$json"'

# new from an MP3: decoded first, named after the MP3.
run new tune.mp3 -o tune.nvz >/dev/null; rc=$?
check "new from an MP3 exits 0 (got $rc: $(tr '\r' '|' <err))" '[ $rc -eq 0 ]'
json=$(run info tune.nvz)
check "the MP3 became a WAV loop named after it" '"$python" -c "
import json, sys
loop = json.loads(sys.argv[1])[\"tracks\"][0][\"loops\"][0]
assert loop[\"name\"] == \"tune\" and loop[\"file\"].endswith(\".wav\") and loop[\"end\"] >= 32, loop
" "$json"'

# render to AIFF: whole blocks up to the song end (7680 ticks at 11.146 per block: 345 blocks).
run render first.nvz mix.aif; rc=$?
check "render to AIFF exits 0 (got $rc: $(tr '\r' '|' <err))" '[ $rc -eq 0 ]'
check "the bounce is 345 blocks of 512 stereo 16-bit samples at 44.1 kHz" \
  '[ "$(soxi -s mix.aif)" = 176640 ] && [ "$(soxi -c mix.aif)" = 2 ] && [ "$(soxi -r mix.aif)" = 44100 ] && [ "$(soxi -b mix.aif)" = 16 ]'
check "the bounce holds the soundtrack at the song volume" \
  '"$python" -c "import sys; assert abs(float(sys.argv[1]) - 0.45) < 0.02, sys.argv[1]" "$(sox mix.aif -n stat 2>&1 | awk "/Maximum amplitude/ {print \$3}")"'
check "progress went to standard error" 'grep -q "Rendering first" err'

run render first.nvz slow.aiff --rate 22050 --block 256; rc=$?
check "render at another rate exits 0" '[ $rc -eq 0 ] && [ "$(soxi -r slow.aiff)" = 22050 ]'
check "render at 22050 Hz in 256-sample blocks covers the song in whole blocks" '[ "$(soxi -s slow.aiff)" = 88320 ]'

# render to MP3 through LAME; sox decodes it.
run render first.nvz mix.mp3; rc=$?
check "render to MP3 exits 0 (got $rc: $(tr '\r' '|' <err))" '[ $rc -eq 0 ]'
check "another decoder reads the MP3 with the song's length" \
  '"$python" -c "import sys; d = float(sys.argv[1]); assert abs(d - 4.0) < 0.1, d" "$(soxi -D mix.mp3)"'

# Failures: exit codes, one-line errors, nothing written, nothing replaced.
printf 'keep me' > keep.aif
printf 'not a zip' > text.nvz
run render text.nvz keep.aif; rc=$?
check "render of a non-archive exits 1" '[ $rc -eq 1 ] && [ "$(wc -l <err)" -eq 1 ]'
check "a failed render leaves the target as it was" '[ "$(cat keep.aif)" = "keep me" ]'
run render absent.nvz out.aif; rc=$?
check "render of a missing file exits 1 and writes nothing" '[ $rc -eq 1 ] && [ ! -e out.aif ]'
run new fast.wav -o fast.nvz --rate 44100; rc=$?
check "new refuses a soundtrack at another rate and writes nothing" '[ $rc -eq 1 ] && [ ! -e fast.nvz ] && grep -q "44100 Hz" err'
printf 'garbage' > bad.mp3
run new bad.mp3 -o bad.nvz; rc=$?
check "new refuses an unreadable MP3" '[ $rc -eq 1 ] && [ ! -e bad.nvz ]'
run new absent.wav -o x.nvz; rc=$?
check "new of a missing file exits 1" '[ $rc -eq 1 ] && [ ! -e x.nvz ]'

for args in "render" "render first.nvz" "render first.nvz out.wav" "render first.nvz o.aif --rate" \
            "render first.nvz o.aif --rate fast" "render first.nvz o.aif --block 0" "new track.wav" \
            "new -o x.nvz" "new track.wav -o x.nvz --loud"; do
  run $args; rc=$?
  check "'$args' is a usage error (got $rc)" '[ $rc -eq 2 ]'
done
check "no usage error wrote a file" '[ ! -e out.wav ] && [ ! -e o.aif ] && [ ! -e x.nvz ]'
for cmd in new render; do
  out=$(run $cmd --help); rc=$?
  check "$cmd --help" '[ $rc -eq 0 ] && [[ "$out" == "usage: nadavo $cmd"* ]]'
done
check "no scratch files were left in the work folder" '[ -z "$(ls | grep -i temp)" ]'
exit $fail
