#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each a fixed number of
# executions on a copy of its seed corpus. A crash, a leak, a hang or a broken property fails
# the run.
set -euo pipefail
source "$(dirname "$0")/common.sh"

runs=200000
dir="$top/build-fuzz"
targets=(reply_completion_fuzz leading_number_fuzz line_reader_fuzz parameter_file_fuzz)

install_packages "$top/scripts/packages-fuzz.txt"

cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARA_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build "$dir" -j 2 --target "${targets[@]}"

failed=0
summary=()
for target in "${targets[@]}"; do
    work="$dir/fuzz-$target"
    rm -rf "$work"
    mkdir -p "$work/artifacts"
    cp -r "$top/tests/fuzz/corpus/$target" "$work/corpus"
    status=0
    # A small quarantine and short allocation stacks keep ASan's cost per execution down.
    (cd "$work" && UBSAN_OPTIONS=print_stacktrace=1 \
        ASAN_OPTIONS=quarantine_size_mb=16:malloc_context_size=10 "$dir/tests/fuzz/$target" \
        -runs="$runs" -seed=1 -max_len=512 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/" corpus >log 2>&1) || status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    coverage=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log" | grep -oE 'cov: [0-9]+ ft: [0-9]+' \
        || true)
    summary+=("$target: ${executions:-?} executions, ${coverage:-no final stats}")
    if [ "$status" -ne 0 ]; then
        failed=1
        tail -n 40 "$work/log"
        echo "$target failed (exit $status); input kept in $work/artifacts/" >&2
    fi
done

printf '%s\n' "${summary[@]}"
exit "$failed"
