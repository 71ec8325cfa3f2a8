#!/usr/bin/env bash
# With a JACK server running (dummy backend, no sound card), the program opens
# it with 2 inputs and 2 outputs and its engine runs at the server's rate.
set -u
tool="$1"
export NADAVO_HOME; NADAVO_HOME=$(mktemp -d)
server="nadavo-test-$$"
export JACK_DEFAULT_SERVER="$server"
jackd --no-realtime -n "$server" -d dummy -r 48000 -p 256 >"$NADAVO_HOME/jack.log" 2>&1 &
jack=$!
cleanup() { kill $jack 2>/dev/null; wait $jack 2>/dev/null; rm -rf "$NADAVO_HOME"; }
trap cleanup EXIT
jack_wait -w -t 10 >/dev/null || { echo "FAIL: the JACK server did not start"; cat "$NADAVO_HOME/jack.log"; exit 1; }

out=$("$tool" devices 2>/dev/null)
echo "$out"
fail=0
for line in "type: *JACK" "inputs: *2" "outputs: *2" "sample rate: *48000" "engine rate: *48000"; do
  grep -Eq "^$line\$" <<<"$out" || { echo "FAIL: expected '$line'"; fail=1; }
done
# The device is remembered for the next start.
grep -q 'deviceType="JACK"' "$NADAVO_HOME/Nadavo Recorder/Nadavo Recorder.settings" \
  || { echo "FAIL: the JACK device state was not saved"; fail=1; }
exit $fail
