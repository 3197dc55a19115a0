#!/usr/bin/env bash
# Builds the Debian package from a build folder, unpacks it into a scratch root with dpkg -x and
# checks it: the files it installs, its dependencies, its desktop entry, and that its varnex-cli
# runs from the unpacked tree and keeps its settings in the user's folder.
# Usage: check_package.sh BUILD_DIR VERSION SCRATCH_DIR
set -euo pipefail
build=$1
version=$2
scratch=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/home"
if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack did not build the package"
fi
deb="$scratch/out/varnex_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") in $scratch/out: $(ls "$scratch/out")"

# What the package installs.
contents=$(dpkg-deb -c "$deb")
for file in usr/bin/varnex usr/bin/varnex-cli usr/share/applications/varnex.desktop \
  usr/share/icons/hicolor/128x128/apps/varnex.png usr/share/mime/packages/varnex.xml \
  usr/share/doc/varnex/help/operation.html usr/share/doc/varnex/help/menus.html \
  usr/share/doc/varnex/help/features.html usr/share/doc/varnex/help/history.html; do
  grep -q " \./$file\$" <<< "$contents" || fail "the package lacks /$file"
done

# Its dependencies: the libraries' packages found by dpkg-shlibdeps, and Qt's translations.
depends=$(dpkg-deb -f "$deb" Depends)
for package in qt6-translations-l10n libqt6widgets6 libqt6network6 libxlsxwriter libzip libgsf-1 libicu libc6; do
  grep -q "\(^\|, \)$package" <<< "$depends" || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"

dpkg -x "$deb" "$scratch/root"
root=$scratch/root

# The desktop entry offers the program for the workbooks it opens.
entry=$root/usr/share/applications/varnex.desktop
grep -qx 'Exec=varnex %f' "$entry" || fail "Exec line: $(grep Exec "$entry")"
for type in application/vnd.ms-excel application/vnd.openxmlformats-officedocument.spreadsheetml.sheet \
  application/wps-office.et text/csv; do
  grep -q "^MimeType=.*$type;" "$entry" || fail "MimeType lacks $type"
done
if command -v desktop-file-validate > /dev/null; then desktop-file-validate "$entry"; fi

# varnex-cli runs from the unpacked tree.
cli=$root/usr/bin/varnex-cli
"$cli" --help > "$scratch/help.txt" || fail "varnex-cli --help failed"
grep -q 'varnex-cli' "$scratch/help.txt" || fail "unexpected help: $(cat "$scratch/help.txt")"

# Installed, it keeps its settings in the user's folder, never beside the program.
(
  cd "$scratch"
  export HOME=$scratch/home
  unset XDG_CONFIG_HOME
  "$cli" sample -o sample.xlsx > /dev/null
  "$cli" export sample.xlsx --teachers 教师任课表 --scores 七年级 --grade 七年级 --exam 期中考试 --yes \
    -o result.xlsx > /dev/null 2> export.log
) || fail "varnex-cli export failed: $(tail -5 "$scratch/export.log")"
[ -f "$scratch/result.xlsx" ] || fail "no result workbook"
[ -f "$scratch/home/.config/varnex/配置文件.ini" ] || fail "no settings file in the user's folder"
[ ! -e "$root/usr/bin/配置文件.ini" ] || fail "settings written beside the installed program"
echo "package $(basename "$deb") checked"
