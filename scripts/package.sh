#!/usr/bin/env bash
# Makes the two Debian packages in build-paquets/ (Release build of its own):
#   orbiplate_<version>_amd64.deb         the program, orbiplate-data, the help,
#                                         the desktop entry, the icon, the manual pages
#   orbiplate-donnees_<version>_all.deb   the data folder, built here by
#                                         orbiplate-data --diffusion from the public sources
# The sources are taken from ../shared/data-src or from ORBIPLATE_SOURCES.
#   bash scripts/package.sh
#   sudo apt-get install ./build-paquets/orbiplate*.deb
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORBIPLATE_PAQUETS:-$top/build-paquets}"
sources="${ORBIPLATE_SOURCES:-$top/../shared/data-src}"

if [ ! -d "$sources" ]; then
  echo "Dossier des sources publiques introuvable : $sources (variable ORBIPLATE_SOURCES)." >&2
  exit 2
fi
bash "$top/scripts/setup-deps.sh"

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DORBIPLATE_BUILD_TESTS=OFF -DORBIPLATE_BUILD_BENCH=OFF \
  -DORBIPLATE_BUILD_TOOLS=ON -DORBIPLATE_DONNEES_PAQUET="$build/donnees" >/dev/null
cmake --build "$build" -j2
if [ ! -x "$build/orbiplate-data" ]; then
  echo "orbiplate-data n'a pas été construit (GDAL manquant ?)." >&2
  exit 1
fi

# Only what the sources' licences allow to redistribute (see credits.txt), built
# anew (ten seconds) so that nothing of an earlier build slips into the package.
rm -rf "$build/donnees"
"$build/orbiplate-data" --sources "$sources" --out "$build/donnees" --diffusion
rm -f "$build"/orbiplate*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || {
  tail -n 30 "$build/cpack.log" >&2
  exit 1
}

echo "Paquets :"
for d in "$build"/orbiplate*.deb; do
  printf '  %s  %s (installé : %s Kio)\n' "$(basename "$d")" "$(du -h "$d" | cut -f1)" "$(dpkg-deb -f "$d" Installed-Size)"
done
echo "Installation : sudo apt-get install $build/orbiplate*.deb"
