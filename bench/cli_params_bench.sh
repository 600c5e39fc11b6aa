#!/usr/bin/env bash
# kelvara-cli's params save and restore of the twelve registers against kelvara-sim at wire
# pacing: transactions per second, against the wire's floor (the bytes each transaction puts
# on the line both ways, at 10 bits a byte at 115200 baud). Usage: bench/cli_params_bench.sh
# [BUILD] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
bin=$build/bin
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$bin/kelvara-sim" --port 40 --noise 0 >"$work/sim.log" 2>&1 &
sim=$!
trap 'kill $sim; wait $sim 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -L "$XDG_RUNTIME_DIR/kelvara/ports/COM40" ] && break; sleep 0.1; done

cli() { "$bin/kelvara-cli" --port 40 --trace "$work/trace.log" "$@" >/dev/null; }
cli params save "$work/a.txt"
sed 's/^\([A-Za-z_]*\) = \(-\?[0-9]*\)$/\1 = 1\2/' "$work/a.txt" | sed 's/= 1-/= -1/' >"$work/b.txt"

# measure LABEL COMMAND...: wall time of RUNS runs and the transactions and bytes they traced.
measure() {
    local label=$1 start end
    shift
    rm -f "$work/trace.log"
    start=$(date +%s.%N)
    for i in $(seq "$runs"); do
        "$@" "$i" || [ $? -eq 1 ]
    done
    end=$(date +%s.%N)
    python3 - "$label" "$start" "$end" "$work/trace.log" <<'PY'
import re, sys
label, start, end, trace = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
sends = replies = 0
wire = 0
for line in open(trace, encoding="utf-8"):
    m = re.search(r' send "(.*)"$', line)
    if m:
        sends += 1
        wire += len(m.group(1).replace("\\r", "\r").replace("\\n", "\n"))
    m = re.search(r' received "(.*)" \(pieces', line)
    if m:
        wire += len(m.group(1))
seconds = end - start
floor = wire * 10 / 115200
print(f"{label}: {sends} transactions in {seconds:.3f} s = {sends / seconds:.0f}/s; "
      f"wire floor {floor:.3f} s = {sends / floor:.0f}/s; ratio {seconds / floor:.1f}x")
PY
}
save() { cli params save "$work/s.txt"; }
restore() { cli params restore "$work/$([ $(($1 % 2)) -eq 0 ] && echo a || echo b).txt"; }
measure "params save" save
measure "params restore (12 writes)" restore
