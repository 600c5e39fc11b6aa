#!/bin/bash
# Runs a Windows program under Wine in a private prefix inside the build folder, never the
# user's own. The prefix is created on first use.
set -euo pipefail

build=${KELVARA_WINE_BUILD:-$(pwd)}
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do
    build=$(dirname "$build")
done
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
