#!/bin/bash
# start|stop BUILD: one wineserver for the whole test run, kept alive between the programs,
# so that the COM links made after its start stay as they are (a new session re-detects the
# host's ports and rewrites their links).
set -euo pipefail

action=$1
build=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
export KELVARA_WINE_BUILD=$build
export WINEPREFIX=$build/wine-prefix

case $action in
start)
    # The server and the session's own processes outlive this script: none may keep its
    # output open, or the test runner waits for them.
    "$top/cmake/wine-run.sh" cmd.exe /c exit </dev/null >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    "$top/cmake/wine-run.sh" cmd.exe /c exit </dev/null >/dev/null 2>&1
    # A host port detected as COM1 is not for the tests: COM1 stays without a device.
    ln -sfn /nonexistent "$WINEPREFIX/dosdevices/com1"
    ;;
stop)
    wineserver -k 2>/dev/null || true
    ;;
esac
