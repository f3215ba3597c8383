#!/usr/bin/env bash
# Time and peak memory of the roster of many documents: COUNT (default
# 10000) variants of samples/typical.dwz (name, birth date, posts differ),
# each with its photo, into a spreadsheet and a CSV file with 1 and 2 jobs.
# Usage: bench/roster.sh [PROGRAM] (default build/appointform).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
app=${1:-$here/build/appointform}
count=${COUNT:-10000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/docs"
/usr/bin/python3 - "$here/samples/typical.dwz" "$work/docs" "$count" <<'PY'
import os, sys
source, folder, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
text = open(source, encoding='gb18030', newline='').read()
photo = os.path.splitext(source)[0] + '.pic'
for i in range(count):
    doc = (text.replace('张明华', '张明%d' % i, 1)
               .replace('"196805"', '"%d%02d"' % (1960 + i % 20, 1 + i % 12), 1)
               .replace('"江州市化工局副局长、党组成员","', '"江州市化工局副局长、党组成员（第%d号）","' % i, 1))
    name = os.path.join(folder, 'doc%05d' % i)
    with open(name + '.dwz', 'w', encoding='gb18030', newline='') as f:
        f.write(doc)
    os.link(photo, name + '.pic')
PY

export QT_QPA_PLATFORM=offscreen
echo "documents: $count on $(nproc) processors"
printf '%-6s %6s %10s %10s %8s %10s\n' format jobs seconds 'docs/s' 'peak MB' 'file KB'
for format in xlsx csv; do
    for jobs in 1 2; do
        rm -f "$work/roster.$format"
        (cd "$work/docs" && /usr/bin/time -f '%e %M' -o "$work/time" "$app" roster --jobs "$jobs" \
            -o "$work/roster.$format" doc*.dwz >/dev/null 2>"$work/err") || { cat "$work/err"; exit 1; }
        read -r secs kb < "$work/time"
        printf '%-6s %6s %10s %10.0f %8.1f %10d\n' "$format" "$jobs" "$secs" \
            "$(awk -v n="$count" -v s="$secs" 'BEGIN { print n / s }')" \
            "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')" "$(( $(stat -c %s "$work/roster.$format") / 1024 ))"
    done
done
