#!/bin/bash
# start|stop BUILD [SIM]: the controllers of the serial tests, mapped as COM ports of the
# test prefix. COM2 silent, COM3 answering, COM4 answering at once (for the benchmark), COM5
# splitting its replies, COM7 a line that stops taking bytes (nobody reads its other end),
# COM8 a device that refuses to be opened, COM9 nothing.
set -euo pipefail

action=$1
build=$2
dosdevices=$build/wine-prefix/dosdevices
export XDG_RUNTIME_DIR=$build/controllers
pids=$XDG_RUNTIME_DIR/pids

stop() {
    if [ -f "$pids" ]; then
        while read -r pid; do
            kill "$pid" 2>/dev/null || true
        done <"$pids"
        rm -f "$pids"
    fi
    rm -f "$dosdevices"/com{2,3,4,5,6,7,8,9}
}

start_controller() {
    local port=$1
    shift
    "$sim" --port "$port" "$@" </dev/null >"$XDG_RUNTIME_DIR/COM$port.log" 2>&1 &
    echo $! >>"$pids"
    local link=$XDG_RUNTIME_DIR/kelvara/ports/COM$port
    for _ in $(seq 100); do
        [ -L "$link" ] && break
        sleep 0.05
    done
    ln -sfn "$(readlink "$link")" "$dosdevices/com$port"
}

# A pseudo-terminal whose other end is held open and never read: once the kernel's buffer is
# full, every write waits.
start_stuck_line() {
    python3 -c '
import os, pty, sys, time
master, slave = pty.openpty()
print(os.ttyname(slave), flush=True)
time.sleep(86400)
' </dev/null >"$XDG_RUNTIME_DIR/COM$1.tty" 2>/dev/null &
    echo $! >>"$pids"
    for _ in $(seq 100); do
        [ -s "$XDG_RUNTIME_DIR/COM$1.tty" ] && break
        sleep 0.05
    done
    ln -sfn "$(cat "$XDG_RUNTIME_DIR/COM$1.tty")" "$dosdevices/com$1"
}

case $action in
start)
    sim=$3
    stop
    mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
    start_controller 2 --silent
    start_controller 3
    start_controller 4 --no-pacing
    start_controller 5 --split 3
    start_stuck_line 7
    # A read-only attribute: opening it for writing is refused even to root.
    ln -sfn /sys/kernel/uevent_seqnum "$dosdevices/com8"
    ;;
stop)
    stop
    ;;
esac
