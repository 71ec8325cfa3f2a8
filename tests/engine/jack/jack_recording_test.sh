#!/usr/bin/env bash
# Records a take through a JACK server with the dummy backend: jack-play feeds
# a 1 kHz tone into the program's inputs while the engine plays and records.
set -u
tests="$1"
work=$(mktemp -d)
server="nadavo-rec-$$"
export JACK_DEFAULT_SERVER="$server"
jackd --no-realtime -n "$server" -d dummy -r 44100 -p 512 >"$work/jack.log" 2>&1 &
jack=$!
player=
cleanup() {
  [ -n "$player" ] && kill "$player" 2>/dev/null
  kill $jack 2>/dev/null; wait $jack 2>/dev/null; rm -rf "$work"
}
trap cleanup EXIT
jack_wait -w -t 10 >/dev/null || { echo "FAIL: the JACK server did not start"; cat "$work/jack.log"; exit 1; }

sox -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 60 sine 1000 vol 0.5
jack-play "$work/tone.wav" >"$work/player.log" 2>&1 </dev/null &
player=$!
for _ in $(seq 100); do
  jack_lsp 2>/dev/null | grep -q '^jack-play' && break
  sleep 0.1
done
feeder=$(jack_lsp 2>/dev/null | grep -m1 '^jack-play' | cut -d: -f1)
[ -n "$feeder" ] || { echo "FAIL: jack-play did not start"; cat "$work/player.log"; exit 1; }
NADAVO_TEST_FEEDER="$feeder" "$tests" --gtest_brief=0
