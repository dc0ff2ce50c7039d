#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (Vorla's own sources only; Qt comes from the
# system) and runs each target in turn for the given number of seconds
# (default 600). Seeds come from fuzz/corpus/<target>/; new inputs collect in
# fuzz-build/corpus/<target>/ and any finding in fuzz-build/findings/<target>/.
# Exits non-zero at the first target that finds something.
#
#   ./scripts/fuzz.sh          # ten minutes per target
#   ./scripts/fuzz.sh 20       # the CI smoke run
#   VORLA_FUZZ_TARGETS="fuzz_journal" ./scripts/fuzz.sh 60   # some targets only
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-600}
build=${VORLA_FUZZ_BUILD_DIR:-$here/fuzz-build}
targets=(fuzz_parse_value_text fuzz_number_text fuzz_statistics fuzz_value_file
         fuzz_value_lines fuzz_command_line fuzz_columns fuzz_chart fuzz_paste
         fuzz_control_chart fuzz_journal fuzz_sheet_file fuzz_sheet_csv
         fuzz_sheet_record)
if [[ -n ${VORLA_FUZZ_TARGETS:-} ]]; then
  read -r -a targets <<<"$VORLA_FUZZ_TARGETS"
fi

"$here/scripts/install-deps.sh" fuzz
sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G "Unix Makefiles" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLA_FUZZ=ON -DVORLA_TESTS=OFF -DVORLA_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$sanitize" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:intercept_tls_get_addr=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Qt's cache of fontconfig fallback patterns, which the record's layout fills
# (see the file).
export LSAN_OPTIONS=suppressions=$here/scripts/lsan.supp:print_suppressions=0
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t" "$build/findings/$t"
  echo "== $t: ${seconds} s"
  log="$build/findings/$t/last-run.log"
  if ! "$build/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=25 \
       -rss_limit_mb=2048 -artifact_prefix="$build/findings/$t/" \
       "$build/corpus/$t" "$here/fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "== $t found a problem; the input is in $build/findings/$t/" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" | sed "s/^/   $t /"
done
