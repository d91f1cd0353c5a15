#!/usr/bin/env bash
# Installs Varnel as a system package would (programs in a folder the user
# cannot write, whoever runs the test), starts the installed window as an
# ordinary user on a virtual display, presses "Generate HTML file" with the
# keyboard, and expects the table in the user's documents folder, the program
# folder left alone.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
chmod 755 "$work"
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
programs="$work/root/usr/bin"
# Like /usr/bin: a normal user who owns this copy still may not write into it.
chmod 555 "$programs"
home="$work/home"
mkdir -p "$home"
user=(env)
if [ "$(id -u)" -eq 0 ]; then
    # Root writes into any folder: run as nobody to be an ordinary user.
    chown 65534:65534 "$home"
    user=(setpriv --reuid=65534 --regid=65534 --clear-groups env)
fi
if "${user[@]}" test -w "$programs"; then
    echo "the window's user could write the program folder $programs"
    exit 1
fi

"${user[@]}" HOME="$home" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    sh -c '"$1" & app=$!
           win=$(xdotool search --sync --name "^Varnel - v")
           xdotool windowfocus --sync "$win"
           sleep 1
           # Focus starts in Code One; three tabs reach "Generate HTML file".
           xdotool key --delay 100 Tab Tab Tab space
           for i in $(seq 1 50); do
               [ -s "$HOME/Documents/table.htm" ] && break
               sleep 0.2
           done
           sleep 0.5
           kill $app' _ "$programs/varnel" &
pid=$!
wait "$pid" || true
pid=""

[ -s "$home/Documents/table.htm" ] || { echo "no table in the documents folder"; exit 1; }
[ ! -e "$programs/table.htm" ] || { echo "the table went into the program folder"; exit 1; }
lines=$(tr -cd '\n' < "$home/Documents/table.htm" | wc -c)
[ "$lines" -eq 100 ] || { echo "expected 99 lines and one more line break, got $lines line ends"; exit 1; }
grep -q "\[ Waiting \]" "$home/Documents/table.htm"
