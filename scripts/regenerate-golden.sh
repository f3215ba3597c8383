#!/usr/bin/env bash
# Writes the display list of every golden document (the samples and
# tests/golden/documents) into tests/golden/*.displaylist. Run on purpose,
# when a change to what is printed is intended, and review the diff.
# Usage: regenerate-golden.sh [PROGRAM]   (default build/appointform)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$here/build/appointform}
golden=$here/tests/golden
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
for doc in "$here"/samples/*.dwz "$here"/samples/*.ren "$here"/samples/*.ljy "$golden"/documents/*.dwz; do
  name=$(basename "$doc")
  XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen "$program" render "$doc" --display-list \
    --today 20241206 --margins 1134,850,510 --jobs 1 >"$golden/$name.displaylist" 2>"$golden/$name.messages" || true
  [ -s "$golden/$name.messages" ] || rm -f "$golden/$name.messages"
done
echo "golden files written to $golden"
