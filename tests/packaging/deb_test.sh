#!/usr/bin/env bash
# Builds the .deb, unpacks it into a scratch folder and runs what it holds.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb="$(ls "$work"/out/*.deb)"
dpkg-deb --field "$deb" Depends | tee "$work/depends"
grep -q "libqt6core6" "$work/depends" || { echo "the package does not declare Qt Core"; exit 1; }
grep -q "libqt6widgets6" "$work/depends" || { echo "the package does not declare Qt Widgets"; exit 1; }
dpkg -x "$deb" "$work/root"
for f in usr/bin/varnel usr/bin/varnel-decode \
         usr/share/applications/org.example.Varnel.desktop \
         usr/share/metainfo/org.example.Varnel.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/org.example.Varnel.svg \
         usr/share/icons/hicolor/256x256/apps/org.example.Varnel.png \
         usr/share/man/man1/varnel-decode.1; do
    [ -e "$work/root/$f" ] || { echo "missing from the package: $f"; exit 1; }
done
"$work/root/usr/bin/varnel-decode" --version | tee "$work/version"
grep -qE '^varnel-decode [0-9]+\.[0-9]+\.[0-9]+$' "$work/version"
"$work/root/usr/bin/varnel-decode" AXDA2500DKV4D KQXEB0345MPMW Y3121234 | grep -q "Barton"
