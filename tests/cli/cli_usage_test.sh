#!/usr/bin/env bash
# The tool as a script sees it: output and exit codes.
set -u
tool="$1"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; fi; }

out=$("$tool" --version); rc=$?
check "--version prints 1.0.2 and exits 0 (got '$out', $rc)" '[ "$out" = "1.0.2" ] && [ $rc -eq 0 ]'
help=$("$tool" --help); rc=$?
check "--help lists the commands" '[ $rc -eq 0 ] && grep -q "render-note" <<<"$help" && grep -q "paths" <<<"$help"'
err=$("$tool" frobnicate 2>&1 >/dev/null); rc=$?
check "an unknown command exits 2 (got $rc)" '[ $rc -eq 2 ]'
check "an unknown command prints a usage line" 'grep -q "^usage: nadavo" <<<"$err"'
"$tool" >/dev/null 2>&1; rc=$?
check "no command exits 2 (got $rc)" '[ $rc -eq 2 ]'
"$tool" --frobnicate >/dev/null 2>&1; rc=$?
check "an unknown option exits 2 (got $rc)" '[ $rc -eq 2 ]'
exit $fail
