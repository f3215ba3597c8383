#!/usr/bin/env bash
# Builds the program with ThreadSanitizer in a tree of its own (TSAN_BUILD_DIR,
# default build-tsan) and runs the parallel batch over the samples and the
# fuzz seed corpus: display list, check, one PDF and a folder of PDFs, each
# with two jobs; some documents carry a camera-sized photo. Exits non-zero
# on any report. Qt itself is not instrumented;
# scripts/tsan.supp names the few Qt-internal reports that are not ours.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TSAN_BUILD_DIR:-$here/build-tsan}
flags="-fsanitize=thread -g -O1"

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DAF_BUILD_TESTS=OFF -DAF_BUILD_BENCH=OFF -DAF_BUILD_FUZZ=ON \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build "$build" -j"$(nproc)" --target appointform fuzz_document_seeds

# The seed corpus as documents: the first byte of a seed names its kind.
docs="$build/tsan-docs"
rm -rf "$docs" "$build/tsan-out"
mkdir -p "$docs"
"$build/fuzz/fuzz_document_seeds" "$build/tsan-seeds" >/dev/null
exts=(dwz ren ljy jan)
for seed in "$build"/tsan-seeds/seed-*; do
    kind=$(head -c1 "$seed" | od -An -tu1 | tr -d ' ')
    tail -c +2 "$seed" > "$docs/$(basename "$seed").${exts[$((kind % 4))]}"
done
# Documents with a camera's 4000 x 3000 JPEG beside them: photos are decoded
# on the workers, several at once.
# (The seed tool is not what is tested here: its painting and JPEG encoding
# run on Qt's thread pool, whose locking the sanitizer cannot see.)
TSAN_OPTIONS=report_bugs=0 "$build/fuzz/fuzz_document_seeds" --photo 4000 3000 "$build/tsan-photo.jpg"
for sample in "$here"/samples/*.dwz; do
    for n in 1 2; do
        name="$docs/photo$n-$(basename "$sample" .dwz)"
        cp "$sample" "$name.dwz"
        cp "$build/tsan-photo.jpg" "$name.pic"
    done
done
inputs=("$here"/samples/*.dwz "$here"/samples/*.ren "$here"/samples/*.ljy "$docs"/*.dwz "$docs"/*.ren "$docs"/*.ljy "$docs"/*.jan)
inputs=("${inputs[@]}" "${inputs[@]}" "${inputs[@]}")   # more documents in flight at once

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$here/scripts/tsan.supp"
app="$build/appointform"
status=0
step() {
    local code=0
    "$@" >/dev/null 2>"$build/tsan-last.err" || code=$?
    if [ "$code" -eq 66 ] || grep -q "ThreadSanitizer" "$build/tsan-last.err"; then
        cat "$build/tsan-last.err" >&2
        echo "tsan: report from: ${*:1:3}" >&2
        status=1
    fi
}
step "$app" render --jobs 2 --display-list "${inputs[@]}"
step "$app" check --jobs 2 "${inputs[@]}"
step "$app" render --jobs 2 -o "$build/tsan-all.pdf" "${inputs[@]}"
step "$app" render --jobs 2 --output-dir "$build/tsan-out" "${inputs[@]}"
[ "$status" -eq 0 ] && echo "tsan: no report over ${#inputs[@]} documents"
exit "$status"
