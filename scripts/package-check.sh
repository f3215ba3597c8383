#!/usr/bin/env bash
# Builds the Debian package from a configured, built tree and checks that it
# holds what a desktop install needs. Usage: package-check.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: package-check.sh BUILD_DIR}
src=$(cd "$(dirname "$0")/.." && pwd)
out="$build/package-check"
rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/appointform_*.deb)
contents=$(dpkg-deb --contents "$deb")
status=0
for path in ./usr/bin/appointform ./usr/lib/appointform/appointform ./usr/lib/appointform/资源/help/index.html \
            ./usr/lib/appointform/资源/H_MOVE.CUR ./usr/share/applications/appointform.desktop \
            ./usr/share/mime/packages/appointform.xml ./usr/share/icons/hicolor/scalable/apps/appointform.svg \
            ./usr/share/icons/hicolor/48x48/apps/appointform.png ./etc/fonts/conf.d/65-appointform-cjk-fonts.conf; do
  if ! grep -qF -- " $path" <<<"$contents"; then
    echo "missing from the package: $path" >&2
    status=1
  fi
done
if [ "$(dpkg-deb --info "$deb" conffiles 2>/dev/null)" != /etc/fonts/conf.d/65-appointform-cjk-fonts.conf ]; then
  echo "the font alias in /etc is not the package's one conffile" >&2
  status=1
fi
depends=$(dpkg-deb --field "$deb" Depends)
for dep in libqt6widgets6 libqt6printsupport6 fonts-arphic-gbsn00lp fonts-arphic-gkai00mp qt6-translations-l10n; do
  grep -q "$dep" <<<"$depends" || { echo "the package does not depend on $dep" >&2; status=1; }
done
if dpkg-deb --field "$deb" Description | grep -q ';'; then
  echo "the package description holds a stray ';'" >&2
  status=1
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$src/packaging/appointform.desktop" || status=1
fi
[ $status -eq 0 ] && echo "package ok: $(basename "$deb")"
exit $status
