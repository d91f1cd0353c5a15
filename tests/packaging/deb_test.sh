#!/usr/bin/env bash
# Builds the .deb, unpacks it into a scratch folder and runs what it holds;
# checks that it is what Debian expects of a small package: stripped programs
# without a library search path of their own, the copyright file, a compressed
# change log and manual pages, and within its size budget installed.
set -euo pipefail
build="$1"
size_limit_kib="${2:-1280}"  # 0: not checked
hardened="${3:-1}"           # 0: a sanitizer build, not hardened
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The list of files that a /usr/local install left for uninstalling stays as it was.
manifest="$build/install_manifest.txt"
kept="$(stat -c %y "$manifest" 2>/dev/null || true)"
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
[ "$(stat -c %y "$manifest" 2>/dev/null || true)" = "$kept" ] || { echo "packaging replaced $manifest"; exit 1; }
deb="$(ls "$work"/out/*.deb)"
dpkg-deb --field "$deb" Depends | tee "$work/depends"
grep -q "libqt6core6" "$work/depends" || { echo "the package does not declare Qt Core"; exit 1; }
grep -q "libqt6widgets6" "$work/depends" || { echo "the package does not declare Qt Widgets"; exit 1; }
size="$(dpkg-deb --field "$deb" Installed-Size)"
echo "Installed-Size: $size KiB"
if [ "$size_limit_kib" -gt 0 ] && [ "$size" -ge "$size_limit_kib" ]; then
    echo "the package takes $size KiB installed, $size_limit_kib or more"
    exit 1
fi
dpkg -x "$deb" "$work/root"
for f in usr/bin/varnel usr/bin/varnel-decode \
         usr/share/applications/org.example.Varnel.desktop \
         usr/share/metainfo/org.example.Varnel.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/org.example.Varnel.svg \
         usr/share/icons/hicolor/256x256/apps/org.example.Varnel.png \
         usr/share/man/man1/varnel.1.gz usr/share/man/man1/varnel-decode.1.gz \
         usr/share/doc/varnel/copyright usr/share/doc/varnel/changelog.gz \
         usr/share/doc/varnel/examples/markings.csv; do
    [ -e "$work/root/$f" ] || { echo "missing from the package: $f"; exit 1; }
done
for program in "$work"/root/usr/bin/*; do
    file -b "$program" | grep -q ", stripped" || { echo "not stripped: $program"; exit 1; }
    if readelf -d "$program" | grep -E "RPATH|RUNPATH"; then
        echo "a library search path in $program"
        exit 1
    fi
    # What lintian asks of hardened programs, and no compilers' notes.
    # (grep reads all of readelf's output: with pipefail, grep -q stopping
    # early would fail the pipe.)
    if [ "$hardened" -eq 1 ]; then
        readelf -d "$program" | grep -cE "BIND_NOW|FLAGS_1.*NOW" >/dev/null ||
            { echo "not linked with -z now: $program"; exit 1; }
        readelf -s --wide "$program" | grep -c "__[a-z_]*_chk@" >/dev/null ||
            { echo "no fortified functions in $program"; exit 1; }
    fi
    if readelf -S --wide "$program" | grep -c " \.comment " >/dev/null; then
        echo "a .comment section in $program"
        exit 1
    fi
done
for page in "$work"/root/usr/share/man/man1/*.gz "$work"/root/usr/share/doc/varnel/changelog.gz; do
    gzip -t "$page"
done
"$work/root/usr/bin/varnel-decode" --version | tee "$work/version"
grep -qE '^varnel-decode [0-9]+\.[0-9]+\.[0-9]+$' "$work/version"
"$work/root/usr/bin/varnel-decode" AXDA2500DKV4D KQXEB0345MPMW Y3121234 | grep -q "Barton"
# The shipped example decodes to the end, every marking of it.
"$work/root/usr/bin/varnel-decode" --batch "$work/root/usr/share/doc/varnel/examples/markings.csv" >/dev/null
