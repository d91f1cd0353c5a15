#!/usr/bin/env bash
# Every option that varnel-decode --help lists is described in its manual
# page, and the page names the same version.
set -euo pipefail
program="$1"
page="$2"
status=0
while read -r option; do
    roff="${option//-/\\-}"
    if ! grep -qF -- "$roff" "$page"; then
        echo "the manual page does not describe $option"
        status=1
    fi
done < <("$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
version="$("$program" --version | awk '{print $2}')"
if ! grep -qF "\"Varnel $version\"" "$page"; then
    echo "the manual page does not name version $version"
    status=1
fi
exit $status
