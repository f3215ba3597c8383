#!/usr/bin/env bash
# Builds the document reader's fuzz target with clang's libFuzzer and runs it
# for a short while (FUZZ_SECONDS, default 60). Exits non-zero on a finding;
# the input that caused it is kept under build-fuzz/fuzz-findings/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$here/build-fuzz}
seconds=${FUZZ_SECONDS:-60}

cmake -S "$here" -B "$build" -DAF_BUILD_FUZZ=ON -DAF_BUILD_TESTS=OFF -DAF_BUILD_BENCH=OFF \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_documents fuzz_document_seeds

mkdir -p "$build/fuzz-corpus" "$build/fuzz-findings"
"$build/fuzz/fuzz_document_seeds" "$build/fuzz-seeds"
"$build/fuzz/fuzz_documents" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/" \
    "$build/fuzz-corpus" "$build/fuzz-seeds"
echo "fuzz-smoke: no finding in ${seconds} s"
