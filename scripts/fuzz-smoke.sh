#!/usr/bin/env bash
# Builds a fuzz target with clang's libFuzzer and runs it for a short while
# (FUZZ_SECONDS, default 60): FUZZ_TARGET fuzz_documents (the document
# reader, the default) or fuzz_recovery (the reader of recovery copies).
# Exits non-zero on a finding; the input that caused it is kept under
# build-fuzz/fuzz-findings/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$here/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
target=${FUZZ_TARGET:-fuzz_documents}

cmake -S "$here" -B "$build" -DAF_BUILD_FUZZ=ON -DAF_BUILD_TESTS=OFF -DAF_BUILD_BENCH=OFF \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "$target" fuzz_document_seeds

corpus="$build/fuzz-corpus" seeds="$build/fuzz-seeds"
if [ "$target" = fuzz_recovery ]; then
    corpus="$build/fuzz-corpus-recovery" seeds="$build/fuzz-seeds-recovery"
    "$build/fuzz/fuzz_document_seeds" --recovery "$seeds"
else
    "$build/fuzz/fuzz_document_seeds" "$seeds"
fi
mkdir -p "$corpus" "$build/fuzz-findings"
"$build/fuzz/$target" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/" \
    "$corpus" "$seeds"
echo "fuzz-smoke: $target, no finding in ${seconds} s"
