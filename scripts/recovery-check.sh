#!/usr/bin/env bash
# Tries crash recovery as a clerk would, under Xvfb: types a name into a
# fresh editor, kills it with SIGKILL 5 seconds later (a copy is written two
# seconds after the typing stops), starts it again,
# answers Yes to "恢复未保存的内容", saves, and checks the saved document.
# Needs Xvfb and xdotool; screenshots go to $OUT (default /tmp/recovery-check).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
app=${BUILD_DIR:-$here/build}/appointform
out=${OUT:-/tmp/recovery-check}
rm -rf "$out"; mkdir -p "$out/home" "$out/docs"
export HOME=$out/home XDG_DATA_HOME=$out/home/data XDG_CONFIG_HOME=$out/home/config
export DISPLAY=:${XDISPLAY:-97} QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1280x1024x24 >/dev/null 2>&1 & xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1

window() { xdotool search --sync --onlyvisible --name "$1" | head -1; }
shot() { import -window root "$out/$1.png"; }

"$app" & editor=$!
w=$(window "任免审批表录入")
xdotool windowfocus --sync "$w" || true; sleep 1
# The name box: 1860 x 1530 twips into the client area, 15 twips a pixel.
xdotool mousemove --window "$w" 130 108 click 1; sleep 0.3
xdotool type --delay 80 "张三"; sleep 0.3
shot 1-typed
echo "typed; waiting 5 s"; sleep 5
ls -R "$XDG_DATA_HOME" | sed 's/^/  /'
kill -9 "$editor"; wait "$editor" 2>/dev/null || true
echo "editor killed"

"$app" & editor=$!
q=$(window "恢复未保存的内容"); sleep 0.5
shot 2-question
xdotool windowfocus --sync "$q" || true; xdotool key Return; sleep 1
shot 3-recovered
w=$(window "任免审批表录入")
xdotool windowfocus --sync "$w" || true
# "保  存" is the second button of the row above the pages.
xdotool mousemove --window "$w" 110 14 click 1
d=$(window "请指定待存文件名"); sleep 0.5
xdotool windowfocus --sync "$d" || true
xdotool type --delay 30 "$out/docs/zhang"; xdotool key Return; sleep 1
shot 4-saved
xdotool windowfocus --sync "$w" || true; xdotool key alt+F4 || true
sleep 1; kill "$editor" 2>/dev/null || true; wait "$editor" 2>/dev/null || true

python3 - "$out/docs/zhang.dwz" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read().decode('gb18030')
first = data.split(',')[0]
print('saved document, item 1:', first)
sys.exit(0 if first == '"张三"' else 1)
PY
left=$(find "$XDG_DATA_HOME" -name record.json | wc -l)
echo "recovery copies left: $left"
test "$left" = 0
