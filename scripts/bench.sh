#!/usr/bin/env bash
# Builds Vorla in release form into build-bench/ (or $VORLA_BENCH_BUILD_DIR)
# and runs every benchmark, five repetitions each, offscreen. Each program
# ends with its figures, every one beside the baseline measured in the same
# run. Extra arguments go to every benchmark program
# (e.g. --benchmark_filter=Entry).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_BENCH_BUILD_DIR:-$here/build-bench}
"$here/scripts/install-deps.sh" bench
cmake -S "$here" -B "$build" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
  -DVORLA_TESTS=OFF -DVORLA_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target vorla_bench_statistics vorla_bench_window vorla_bench_startup \
  vorla_value_file_bench
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
for b in vorla_bench_statistics vorla_bench_window vorla_bench_startup; do
  echo "== $b"
  "$build/bench/$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_color=false "$@"
done
echo "== vorla_value_file_bench: the largest files the open command reads"
cases=$(mktemp -d)
trap 'rm -rf "$cases"' EXIT
for c in short-lines long-lines kanji-lines utf8-kanji-lines one-huge-line sparse-gigabytes; do
  "$build/bench/vorla_value_file_bench" "$c" "$cases"
done
