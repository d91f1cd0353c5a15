#!/usr/bin/env bash
# Without a display, the window program and the start script each say in one
# line how to go on and exit with 1, at once: the script before installing or
# building anything. The program says the same of a display that does not
# answer, where Qt would abort.
set -euo pipefail
program="$1"
script="$2"
# Without DISPLAY or WAYLAND_DISPLAY; with DISPLAY=... set in $display, a
# display that nothing answers on.
display=()
expect_advice() {  # expected-word command...
    local word="$1" status=0
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${display[@]}" timeout 10 "$@" \
        >/dev/null 2>"$out" || status=$?
    [ "$status" -eq 1 ] || { echo "$*: exit status $status, expected 1"; cat "$out"; exit 1; }
    [ "$(wc -l <"$out")" -eq 1 ] || { echo "$*: not one line:"; cat "$out"; exit 1; }
    grep -q -- "$word" "$out" || { echo "$*: no mention of $word:"; cat "$out"; exit 1; }
    grep -q "varnel-decode" "$out" || { echo "$*: no mention of varnel-decode"; exit 1; }
}
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
expect_advice "xvfb-run -a varnel" "$program"
expect_advice "xvfb-run -a bash scripts/run.sh" bash "$script"
# A DISPLAY that names a display number nobody serves (a stale ssh session).
number=7391
while [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
display=("DISPLAY=:$number")
expect_advice "DISPLAY=:$number does not answer" "$program"
expect_advice "xvfb-run -a varnel" "$program" -platform xcb
display=()
# A platform chosen by the caller is Qt's to open: no advice then.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 1 "$program" 2>"$out" || true
if grep -q "no display" "$out"; then echo "advice given with QT_QPA_PLATFORM=offscreen"; exit 1; fi
# Help and version are answered on standard output, with no display needed.
for option in --help --version; do
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 "$program" "$option" >"$out" ||
        { echo "$option: exit status $?"; exit 1; }
    grep -q "^Usage: varnel\|^varnel [0-9]" "$out" || { echo "$option printed:"; cat "$out"; exit 1; }
done
