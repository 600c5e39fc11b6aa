# The rig of the window's end-to-end scenarios, sourced by scenarios.sh: a Wine prefix of their
# own whose only COM port is the simulator's pseudo-terminal, a private port-link folder for the
# simulator, and a clean-up that leaves no process behind.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

export WINEPREFIX=$KELVARA_E2E_PREFIX
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The application's folder: kelvara.exe with the fake device console beside it.
app=$work/app
mkdir "$app"
cp "$KELVARA_EXE" "$app/kelvara.exe"
cp "$KELVARA_FAKE_DEVCON" "$app/devcon.exe"
sims=()

cleanup() {
    local status=$? pid
    if [ "$status" -ne 0 ] && [ -f "$work/step.out" ]; then
        echo "last driver run:"
        tr -d '\r' <"$work/step.out" | tail -5
    fi
    [ -z "${dpi_set:-}" ] || set_dpi 96
    "$wineserver" -k 2>/dev/null || true
    for pid in "${sims[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Created once per build folder: tens of seconds.
ensure_prefix() {
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            "$wine" wineboot -i >/dev/null 2>&1
            "$wineserver" -w
        fi
    ) 9>"$WINEPREFIX.lock"
}

# set_dpi N: the desktop's dots per inch for the programs started next; 96 again at the end.
set_dpi() {
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        >/dev/null 2>&1
    dpi_set=1
}

# map_ports [N TARGET]...: these COM ports and no other, so that no host serial port is probed.
map_ports() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    rm -f "$WINEPREFIX"/dosdevices/com*
    while [ $# -gt 0 ]; do
        ln -s "$2" "$WINEPREFIX/dosdevices/com$1"
        shift 2
    done
}

# start_sim N [OPTION]...: kelvara-sim on COM<N>; its pseudo-terminal in sim_tty. Not in a
# command substitution: the clean-up must know the simulator's pid.
start_sim() {
    local n=$1 link
    shift
    link=$XDG_RUNTIME_DIR/kelvara/ports/COM$n
    "$KELVARA_SIM" --port "$n" "$@" >"$work/sim$n.log" 2>&1 &
    sims+=($!)
    for _ in $(seq 100); do
        [ -L "$link" ] && break
        sleep 0.05
    done
    sim_tty=$(readlink -f "$link")
}

sim_control() { "$KELVARA_SIM" --port "$1" --control "$2" >/dev/null; }

# drive [attach] STEP...: kelvara.exe started (or the running one taken) and driven by
# window_driver.exe; its report on stdout. A file, not a pipe: the program started by the
# driver holds its output open.
drive() {
    local rc=0 program="Z:${app//\//\\}\\kelvara.exe"
    if [ "$1" = attach ]; then
        program=attach
        shift
    fi
    "$wine" "$KELVARA_DRIVER" "$program" "$@" >"$work/step.out" 2>/dev/null || rc=$?
    tr -d '\r' <"$work/step.out" | tee -a "$work/driver.log"
    return "$rc"
}

# wire TTY COMMAND: the controller's reply to one command, over the pseudo-terminal once the
# program has let go of it.
wire() {
    python3 - "$1" "$2" <<'PY'
import os, select, sys, termios, time, tty
fd = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY)
tty.setraw(fd)
termios.tcflush(fd, termios.TCIFLUSH)
os.write(fd, (sys.argv[2] + "\r\n").encode())
reply, end = b"", time.time() + 3
while not reply.endswith(b";") and time.time() < end:
    if select.select([fd], [], [], 0.1)[0]:
        reply += os.read(fd, 256)
print(reply.decode(errors="replace"))
PY
}

fail() {
    echo "FAIL: $*"
    exit 1
}

# expect_line PATTERN FILE: FILE holds a line matching the extended regular expression.
expect_line() { grep -Eq "$1" "$2" || fail "no line /$1/ in $2"; }
