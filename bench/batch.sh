#!/usr/bin/env bash
# Batch throughput and memory of the command line: documents per second to
# the display list, to one PDF, to a folder of PDFs, to one Word document and
# to a folder of Word documents with 1 and 2 jobs,
# and the peak memory of 1,000 documents with 2 jobs to one PDF and to a
# folder. The documents are copies of the samples with their photos, plus
# BIG_PHOTOS documents whose photo is a 5000 x 5000 JPEG (needs ImageMagick).
# Usage: bench/batch.sh [PROGRAM] (default build/appointform); COUNT=1000.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
app=${1:-$here/build/appointform}
count=${COUNT:-1000}
big=${BIG_PHOTOS:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/docs"
samples=(typical.dwz long_resume.dwz long_posts.dwz older.ren brief.ljy)
for ((i = 0; i < count; ++i)); do
    s=${samples[$((i % 5))]}
    name=$(printf 'doc%04d.%s' "$i" "${s##*.}")
    cp "$here/samples/$s" "$work/docs/$name"
    pic="$here/samples/${s%.*}.pic"
    [ -f "$pic" ] && cp "$pic" "$work/docs/${name%.*}.pic"
done
docs=("$work"/docs/doc*.dwz "$work"/docs/doc*.ren "$work"/docs/doc*.ljy)

export QT_QPA_PLATFORM=offscreen
# Seconds and peak resident kilobytes of one run.
measure() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/err" || true
    cat "$work/time"
}
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.0f", n / s }'; }

echo "documents: ${#docs[@]} on $(nproc) processors"
printf '%-14s %6s %10s %10s %8s\n' target jobs seconds 'docs/s' 'peak MB'
for target in display-list pdf folder docx docx-folder; do
    for jobs in 1 2; do
        rm -rf "$work/out" "$work/all.pdf" "$work/all.docx"
        case $target in
            display-list) args=(--display-list) ;;
            pdf) args=(-o "$work/all.pdf") ;;
            folder) args=(--output-dir "$work/out") ;;
            docx) args=(-o "$work/all.docx") ;;
            docx-folder) args=(--output-dir "$work/out" --format docx) ;;
        esac
        read -r secs kb < <(measure "$app" render --jobs "$jobs" "${args[@]}" "${docs[@]}")
        printf '%-14s %6s %10s %10s %8.1f\n' "$target" "$jobs" "$secs" "$(rate ${#docs[@]} "$secs")" \
            "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')"
    done
done

if command -v convert >/dev/null && [ "$big" -gt 0 ]; then
    mkdir -p "$work/big"
    convert -size 5000x5000 plasma:fractal -quality 85 "$work/big.jpg"
    for ((i = 0; i < big; ++i)); do
        cp "$here/samples/typical.dwz" "$work/big/big$i.dwz"
        cp "$work/big.jpg" "$work/big/big$i.pic"
    done
    rm -rf "$work/out"
    read -r secs kb < <(measure "$app" render --jobs 2 -o "$work/big.pdf" "$work"/big/*.dwz)
    echo "$big documents with a 5000 x 5000 photo, 2 jobs, one PDF: $secs s, peak $((kb / 1024)) MB," \
         "$(( $(stat -c %s "$work/big.pdf") / big / 1024 )) KB a document"
fi
