#!/usr/bin/env bash
# Builds Vorla in release form into build-bench/ (or $VORLA_BENCH_BUILD_DIR)
# and runs, offscreen, every program in bench/:
#  - the Google Benchmark programs, vorla_bench_statistics,
#    vorla_bench_control_chart, vorla_bench_window, vorla_bench_startup and
#    vorla_bench_command_line (whole vorla processes), five repetitions each; each
#    ends with its figures, every one beside the baseline measured in the
#    same run. Extra arguments go to these (e.g.
#    --benchmark_filter=Entry);
#  - vorla_value_file_bench, no Google Benchmark program but a tool that
#    takes a case and a folder, once for each of its cases (the largest
#    files the open command reads); it takes no extra arguments.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_BENCH_BUILD_DIR:-$here/build-bench}
"$here/scripts/install-deps.sh" bench
cmake -S "$here" -B "$build" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
  -DVORLA_TESTS=OFF -DVORLA_BENCH=ON >/dev/null
benchmarks=(vorla_bench_statistics vorla_bench_control_chart vorla_bench_sheet vorla_bench_sheet_window vorla_bench_window vorla_bench_startup
            vorla_bench_command_line)
cmake --build "$build" -j2 --target "${benchmarks[@]}" vorla_value_file_bench
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
for b in "${benchmarks[@]}"; do
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
