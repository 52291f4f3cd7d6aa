#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz/ with clang in build-fuzz/ and
# runs each for FUZZ_SECONDS (default 30) from its seeds and dictionary; the
# arguments name the targets to run, all by default. A crash, leak, undefined
# behaviour, an input taking over 5 s or memory beyond 512 MB fails the run,
# which then prints the input and keeps it in build-fuzz/artifacts/<target>/.
# What each run found new stays in build-fuzz/corpus/<target>/ for the next.
#
# A failing input is minimised while its fault is still there, and kept:
#   build-fuzz/tests/fuzz/<target> -minimize_crash=1 -runs=100000 -artifact_prefix=build-fuzz/artifacts/<target>/ <input>
#   cp build-fuzz/artifacts/<target>/minimized-from-* tests/fuzz/regressions/<target>/<what-it-is>
set -euo pipefail
cd "$(dirname "$0")/.."

tools/ensure-packages.sh cmake make clang-14 libclang-rt-14-dev qtbase5-dev zlib1g-dev

seconds=${FUZZ_SECONDS:-30}
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAMEOFLIFE_FUZZ=ON >/dev/null
cmake --build build-fuzz --parallel "$(nproc)"

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for source in tests/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
passed=0
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    artifacts=build-fuzz/artifacts/$target
    log=build-fuzz/$target.log
    mkdir -p "$corpus" "$artifacts"
    echo "== $target, $seconds s"
    started=$(date +%s)
    if build-fuzz/tests/fuzz/"$target" "$corpus" "tests/fuzz/corpus/$target" -dict="tests/fuzz/$target.dict" \
        -max_total_time="$seconds" -timeout=5 -rss_limit_mb=512 -artifact_prefix="$artifacts/" \
        -print_final_stats=1 >"$log" 2>&1; then
        passed=$((passed + 1))
        grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
    else
        failed=$((failed + 1))
        echo "$target FAILED; the end of its log ($log):"
        tail -n 40 "$log"
        # Each input this run left behind: the ones that failed.
        find "$artifacts" -type f -newermt "@$started" | while read -r input; do
            echo "-- failing input $input ($(stat -c %s "$input") bytes), as text (cat -v, first 2000 bytes):"
            head -c 2000 "$input" | cat -v
            echo
            echo "-- and as base64: $(head -c 2000 "$input" | base64 -w 0)"
        done
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
