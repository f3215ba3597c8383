#!/usr/bin/env bash
# Installs what is needed, builds, and starts the editor.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
exec "${BUILD_DIR:-$here/build}/appointform" "$@"
