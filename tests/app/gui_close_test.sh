#!/usr/bin/env bash
# Starts the real program under a virtual display with a window manager, checks
# where its window opens, closes it through the window manager as a user would,
# and checks the settings file it writes on the way out.
set -u
app="$1"
export NADAVO_HOME
export JACK_DEFAULT_SERVER="nadavo-gui-test-$$"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

run_case() {   # name, stored MainWindowBounds or "", expected "x y w h", [raw settings text], [jack]
  local name="$1" stored="$2" expected="$3" raw="${4-}" jack="${5-}"
  NADAVO_HOME="$work/$name"
  local settings="$NADAVO_HOME/Nadavo Recorder/Nadavo Recorder.settings"
  mkdir -p "$(dirname "$settings")"
  if [ -n "$raw" ]; then
    printf '%s' "$raw" > "$settings"
  elif [ -n "$stored" ]; then
    printf '<?xml version="1.0" encoding="UTF-8"?>\n<PROPERTIES>\n  <VALUE name="MainWindowBounds" val="%s"/>\n</PROPERTIES>\n' "$stored" > "$settings"
  fi
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    app="$1"; shot="$2"; out="$3"; jack="$4"
    jackpid=""
    if [ -n "$jack" ]; then
      jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 44100 -p 512 >"$out.jack.log" 2>&1 &
      jackpid=$!
      jack_wait -w -t 10 >/dev/null || { echo "no JACK server"; kill $jackpid; exit 1; }
    fi
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    "$app" >"$out.log" 2>&1 &
    pid=$!
    wid=$(timeout 60 xdotool search --sync --onlyvisible --name "^Nadavo Recorder$" | head -n 1)
    if [ -z "$wid" ]; then echo "no window"; kill $pid $wm; exit 1; fi
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    echo "$X $Y $WIDTH $HEIGHT" > "$out.geometry"
    import -window root "$shot" 2>/dev/null
    xdotool windowactivate --sync "$wid" key alt+F4
    for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    if kill -0 $pid 2>/dev/null; then echo "still running after close"; kill -9 $pid; kill $wm; exit 1; fi
    wait $pid; rc=$?
    kill $wm 2>/dev/null
    [ -n "$jackpid" ] && kill $jackpid 2>/dev/null && wait $jackpid 2>/dev/null
    exit $rc
  ' _ "$app" "$work/$name.png" "$work/$name" "$jack"
  local rc=$?
  if [ $rc -ne 0 ]; then echo "FAIL $name: program exit $rc"; cat "$work/$name.log"; fail=1; return; fi
  local before=$fail
  local geometry; geometry=$(cat "$work/$name.geometry")
  if [ "$geometry" != "$expected" ]; then echo "FAIL $name: window at '$geometry', expected '$expected'"; fail=1; fi
  local keys="pluginList ExtMIDITool"
  # The device state is written only when a device was open.
  [ -n "$jack" ] && keys="$keys audioSettings"
  for key in $keys ExtAudioTool ForceMonoInput MainWindowBounds LoopEditorBounds \
             AudioEditorBounds LAMEPath AdditionalLatency; do
    grep -q "name=\"$key\"" "$settings" || { echo "FAIL $name: settings file lacks $key"; fail=1; }
  done
  grep -q 'name="LAMEPath" val="/usr/local/bin/lame"' "$settings" || { echo "FAIL $name: LAMEPath not the default"; fail=1; }
  grep -q "name=\"MainWindowBounds\" val=\"$expected\"" "$settings" \
    || { echo "FAIL $name: MainWindowBounds not written back as '$expected'"; grep MainWindowBounds "$settings"; fail=1; }
  [ $fail -eq $before ] && echo "ok $name: window at $geometry"
  [ -n "${NADAVO_SCREENSHOTS-}" ] && cp "$work/$name.png" "$NADAVO_SCREENSHOTS/"
  return 0
}

# Centred at 790 x 539 on a 1280 x 800 screen: (1280-790)/2, (800-539)/2 rounded up.
if command -v jackd >/dev/null && command -v jack_wait >/dev/null; then
  run_case fresh_with_jack "" "245 131 790 539" "" jack
  grep -q 'name="audioSettings"' "$work/fresh_with_jack/Nadavo Recorder/Nadavo Recorder.settings" \
    && grep -q 'JACK' "$work/fresh_with_jack/Nadavo Recorder/Nadavo Recorder.settings" \
    || { echo "FAIL fresh_with_jack: no JACK device state saved"; fail=1; }
else
  echo "FAIL: jackd and jack_wait are needed"; fail=1
fi
run_case fresh "" "245 131 790 539"
run_case stored "100 60 700 500" "100 60 700 500"
run_case past_right_edge "491 100 790 539" "245 131 790 539"
run_case garbage_file "" "245 131 790 539" 'garbage <PROPERTIES><VALUE name="MainWindowBounds" '

exit $fail
