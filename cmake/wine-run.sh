#!/bin/bash
# Runs a Windows program under Wine in a private prefix inside the build folder, never the
# user's own. The prefix is created on first use.
set -euo pipefail

# The build folder: given, or the one holding the program (or the current folder).
if [ -n "${KELVARA_WINE_BUILD:-}" ]; then
    build=$KELVARA_WINE_BUILD
else
    build=$(pwd)
    [ -f "${1:-}" ] && build=$(cd "$(dirname "$1")" && pwd)
    while [ ! -f "$build/CMakeCache.txt" ]; do
        if [ "$build" = / ]; then
            echo "wine-run.sh: no build folder above ${1:-$(pwd)}" >&2
            exit 1
        fi
        build=$(dirname "$build")
    done
fi
export WINEPREFIX="$build/wine-prefix"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            "$wine" wineboot -i >/dev/null 2>&1
            wineserver -w
        fi
    ) 9>"$build/wine-prefix.lock"
fi

exec "$wine" "$@"
