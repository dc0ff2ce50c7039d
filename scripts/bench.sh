#!/usr/bin/env bash
# Builds Vorla in release form into build-bench/ (or $VORLA_BENCH_BUILD_DIR),
# the three Google Benchmark programs only, and runs them in turn, five
# repetitions each, offscreen: vorla_bench_statistics, vorla_bench_window and
# vorla_bench_startup. Each program ends with its figures, every one beside
# the baseline measured in the same run. Extra arguments go to every one of
# them (e.g. --benchmark_filter=Entry).
# vorla_value_file_bench is not built or run here: it is a separate tool run
# by hand with a case and a folder (see bench/ValueFileBench.cpp), e.g.
#   cmake --build build-bench --target vorla_value_file_bench
#   QT_QPA_PLATFORM=offscreen build-bench/bench/vorla_value_file_bench short-lines /tmp
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_BENCH_BUILD_DIR:-$here/build-bench}
"$here/scripts/install-deps.sh" bench
cmake -S "$here" -B "$build" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
  -DVORLA_TESTS=OFF -DVORLA_BENCH=ON >/dev/null
benchmarks=(vorla_bench_statistics vorla_bench_window vorla_bench_startup)
cmake --build "$build" -j2 --target "${benchmarks[@]}"
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
for b in "${benchmarks[@]}"; do
  echo "== $b"
  "$build/bench/$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_color=false "$@"
done
