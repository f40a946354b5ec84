#!/usr/bin/env bash
# Makes the Debian package from a built tree (or takes the one named by
# QUELVARA_PACKAGE), unpacks it into a scratch root as dpkg would install it,
# and runs the installed programs there.
# Usage: test_package.sh BUILD_DIR
set -euo pipefail

build_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FALHOU: $*" >&2
  exit 1
}

package=${QUELVARA_PACKAGE:-}
if [ -z "$package" ]; then
  (cd "$scratch" && "${CPACK:-cpack}" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" >cpack.log 2>&1) ||
    { cat "$scratch/cpack.log" >&2; fail "cpack não gerou o pacote"; }
  package=$(find "$scratch/out" -maxdepth 1 -name 'quelvara_*.deb' | head -n 1)
fi
[ -f "$package" ] || fail "pacote não encontrado: $package"
echo "Pacote: $package"

# The dependencies: what the program links to, and what Qt loads by name.
depends=$(dpkg-deb -f "$package" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6svg6 qt6-qpa-plugins qt6-translations-l10n; do
  [[ ",$depends," =~ [,\ ]$needed[\ ,\(] ]] || fail "falta a dependência $needed"
done

root=$scratch/root
dpkg-deb -x "$package" "$root"
for file in \
  usr/bin/quelvara \
  usr/bin/quelvara-cli \
  usr/share/applications/br.com.quelvara.Quelvara.desktop \
  usr/share/metainfo/br.com.quelvara.Quelvara.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/br.com.quelvara.Quelvara.svg \
  usr/share/doc/quelvara/guia.md; do
  [ -f "$root/$file" ] || fail "o pacote não instala /$file"
done

version=$(dpkg-deb -f "$package" Version)
output=$(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 "$root/usr/bin/quelvara" --version)
echo "quelvara --version: $output"
[ "$output" = "quelvara $version" ] || fail "a versão instalada diz \"$output\", o pacote $version"
output=$(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 "$root/usr/bin/quelvara-cli" --version)
echo "quelvara-cli --version: $output"
[ "$output" = "quelvara-cli $version" ] || fail "o quelvara-cli instalado diz \"$output\", o pacote $version"

# The installed launcher starts a program the package installs.
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/br.com.quelvara.Quelvara.desktop")
[ -x "$root/usr/bin/$program" ] || fail "o lançador chama um programa que o pacote não instala: $program"
echo "O pacote instala e o programa responde."
