#!/usr/bin/env bash
# Tries the Debian packages on a clean Debian 12 made with debootstrap, as a teacher
# would use them: installs build-paquets/*.deb with apt-get (which must pull every
# dependency), starts the program as an ordinary user with the command of the
# installed desktop entry under xvfb-run, takes screenshots of the map and of the
# help, then removes the packages and checks that nothing of theirs is left.
#
#   bash scripts/essai-paquets.sh            # the whole check (root, network to the mirror)
#   bash scripts/essai-paquets.sh --base     # only prepares the cached base system
#
# The base system is made once and kept as a tarball, the packages apt downloads
# in a cache folder, both under ORBIPLATE_ESSAI (default /tmp/orbiplate-essai);
# the chroot itself is made anew from the tarball at each run. The results
# (screenshots, sizes, times, the log of the run) go to ORBIPLATE_ESSAI/resultats.
# Xvfb, xdotool and ImageMagick (its screenshots, unlike xwd -root, hold the
# menus and the windows opened after the first) are installed in the chroot after
# the packages, for the check only.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
essai="${ORBIPLATE_ESSAI:-/tmp/orbiplate-essai}"
racine="$essai/chroot"
base="$essai/bookworm-base.tar.gz"
archives="$essai/apt-archives"
resultats="$essai/resultats"
paquets="${ORBIPLATE_PAQUETS:-$top/build-paquets}"
seulementBase=0
[ "${1:-}" = "--base" ] && seulementBase=1

if [ "$(id -u)" -ne 0 ]; then
  echo "essai-paquets.sh doit être lancé en root (chroot, montages)." >&2
  exit 2
fi

# The Debian mirror apt already uses on this machine.
miroir="$(grep -rhsE '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null |
  grep -oE 'https?://[^ ]+/debian/?' | grep -v security | head -n 1 || true)"
miroir="${miroir:-http://deb.debian.org/debian}"
miroir="${miroir%/}"
securite="${miroir%/debian}/debian-security"

export DEBIAN_FRONTEND=noninteractive
if ! command -v debootstrap >/dev/null; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends debootstrap </dev/null
fi

monte() { grep -q " $racine/$1 " /proc/mounts; }
demonter() {
  for m in dev/pts dev/shm dev proc sys var/cache/apt/archives; do
    if monte "$m"; then umount -l "$racine/$m" || true; fi
  done
}
supprimerRacine() {
  demonter
  if grep -q " $racine/" /proc/mounts; then
    echo "Des montages restent sous $racine : il n'est pas supprimé." >&2
    exit 1
  fi
  rm -rf --one-file-system "$racine"
}
trap demonter EXIT

mkdir -p "$essai" "$archives"
if [ ! -s "$base" ]; then
  echo "Système de base Debian 12 (debootstrap, $miroir)..."
  supprimerRacine
  debootstrap --variant=minbase bookworm "$racine" "$miroir" >"$essai/debootstrap.log" 2>&1 || {
    tail -n 30 "$essai/debootstrap.log" >&2
    exit 1
  }
  cat >"$racine/etc/apt/sources.list" <<EOF
deb $miroir bookworm main
deb $miroir bookworm-updates main
deb $securite bookworm-security main
EOF
  rm -rf "$racine/var/cache/apt/archives/"*.deb
  tar -C "$racine" -czf "$base.tmp" . && mv "$base.tmp" "$base"
  echo "Base gardée dans $base ($(du -h "$base" | cut -f1))."
fi
[ "$seulementBase" = 1 ] && exit 0

shopt -s nullglob
debs=("$paquets"/orbiplate*.deb)
if [ ${#debs[@]} -eq 0 ]; then
  echo "Aucun paquet dans $paquets : lancez d'abord bash scripts/package.sh." >&2
  exit 2
fi

supprimerRacine
mkdir -p "$racine"
tar -C "$racine" -xzf "$base"
cp /etc/resolv.conf "$racine/etc/resolv.conf"
mount -t proc proc "$racine/proc"
mount -t sysfs sys "$racine/sys"
mount --bind /dev "$racine/dev"
mount --bind /dev/pts "$racine/dev/pts"
mkdir -p "$racine/var/cache/apt/archives"
mount --bind "$archives" "$racine/var/cache/apt/archives"

rm -rf "$resultats"
mkdir -p "$resultats" "$racine/tmp/paquets" "$racine/tmp/essai"
cp "${debs[@]}" "$racine/tmp/paquets/"
journal="$resultats/essai.log"
dans() { chroot "$racine" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
  HOME=/root LANG=C.UTF-8 "$@"; }

{
  echo "== Paquets"
  for d in "${debs[@]}"; do
    printf '%s  %s  Installed-Size: %s Kio\n' "$(basename "$d")" "$(du -h "$d" | cut -f1)" \
      "$(dpkg-deb -f "$d" Installed-Size)"
    dpkg-deb -f "$d" Depends Recommends | sed 's/^/    /'
  done
} | tee -a "$journal"

echo "== apt-get update" | tee -a "$journal"
dans apt-get update -qq >>"$journal" 2>&1
avant="$(dans dpkg-query -W -f='${Package}\n' | sort)"
echo "== apt-get install ./*.deb" | tee -a "$journal"
debut=$(date +%s.%N)
dans sh -c 'cd /tmp/paquets && apt-get install -y ./*.deb' >>"$journal" 2>&1
fin=$(date +%s.%N)
ajoutes="$(dans dpkg-query -W -f='${Package}\n' | sort | comm -13 <(echo "$avant") - | wc -l)"
printf 'Installation : %s s, %s paquets ajoutés au système de base.\n' "$(awk "BEGIN{printf \"%.1f\", $fin - $debut}")" "$ajoutes" |
  tee -a "$journal"
dans dpkg -s orbiplate orbiplate-donnees | grep -E '^(Package|Status|Version)' | tee -a "$journal"

echo "== Outils de l'essai (Xvfb, xdotool, ImageMagick)" | tee -a "$journal"
dans apt-get install -y -qq --no-install-recommends xvfb xauth xdotool imagemagick >>"$journal" 2>&1

# The command of the desktop entry, without its field codes.
entree="$racine/usr/share/applications/orbiplate.desktop"
commande="$(grep -m1 '^Exec=' "$entree" | sed -e 's/^Exec=//' -e 's/ *%[fFuUick]//g')"
echo "Commande de l'entrée de menu : $commande" | tee -a "$journal"
dans useradd -m -s /bin/bash enseignant 2>/dev/null || true

# As a menu entry starts it: from the home folder, which holds no data.
cat >"$racine/tmp/essai/lancer.sh" <<EOF
#!/bin/sh
cd "\$HOME"
export LANG=fr_FR.UTF-8
$commande >/tmp/essai/orbiplate.log 2>&1 &
prog=\$!
photo() { import -window root /tmp/essai/\$1.png; }
for i in \$(seq 1 60); do
  sleep 1
  xdotool search --name '^Orbiplate' >/dev/null 2>&1 && break
done
sleep 6
photo carte
# Positions on the menu bar of the map window, at the top left of a screen
# without window manager: menu "Aide", its items "Fichier d'aide" and "A propos de...".
# First the About panel, over the map, which names the start folder.
xdotool mousemove ${ORBIPLATE_MENU_AIDE:-251 8} click 1
sleep 2
photo menu-aide
xdotool mousemove ${ORBIPLATE_APROPOS:-300 51} click 1
sleep 2
photo apropos
# Then the help page: without a browser, in the program's own help window.
xdotool mousemove ${ORBIPLATE_MENU_AIDE:-251 8} click 1
sleep 1
xdotool mousemove ${ORBIPLATE_FICHIER_AIDE:-300 29} click 1
for i in \$(seq 1 40); do
  sleep 1
  xdotool search --onlyvisible --name "^Aide d'Orbiplate" >/dev/null 2>&1 && break
done
sleep 4
photo aide
ls -la "\$HOME/.local/share/Orbiplate/donnees" >/tmp/essai/dossier-personnel.txt 2>&1
kill \$prog 2>/dev/null
wait \$prog 2>/dev/null
exit 0
EOF
chmod 755 "$racine/tmp/essai/lancer.sh"
chmod 1777 "$racine/tmp/essai"
echo "== Lancement sous xvfb-run (utilisateur enseignant)" | tee -a "$journal"
dans su enseignant -c "xvfb-run -a -s '-screen 0 1600x1000x24' /tmp/essai/lancer.sh" >>"$journal" 2>&1 || true
cat "$racine/tmp/essai/orbiplate.log" >>"$journal" 2>/dev/null || true
cat "$racine/tmp/essai/dossier-personnel.txt" | tee -a "$journal" || true
cp "$racine"/tmp/essai/*.png "$resultats/" 2>/dev/null || true

echo "== apt-get remove" | tee -a "$journal"
fichiers="$(dans dpkg -L orbiplate orbiplate-donnees | sort -u)"
debut=$(date +%s.%N)
dans apt-get remove -y orbiplate orbiplate-donnees >>"$journal" 2>&1
fin=$(date +%s.%N)
printf 'Suppression : %s s.\n' "$(awk "BEGIN{printf \"%.1f\", $fin - $debut}")" | tee -a "$journal"
restes=0
while IFS= read -r f; do
  [ -z "$f" ] && continue
  if [ -e "$racine$f" ] && [ ! -d "$racine$f" ]; then echo "Fichier resté : $f" | tee -a "$journal"; restes=1; fi
done <<<"$fichiers"
for d in /usr/share/orbiplate /usr/share/doc/orbiplate /usr/share/doc/orbiplate-donnees; do
  if [ -e "$racine$d" ]; then echo "Dossier resté : $d" | tee -a "$journal"; restes=1; fi
done
dans dpkg -l | grep -E 'orbiplate' | tee -a "$journal" || true
dans apt-get purge -y orbiplate orbiplate-donnees >>"$journal" 2>&1 || true
if [ "$restes" = 0 ]; then
  echo "Suppression propre : aucun fichier des paquets ne reste." | tee -a "$journal"
fi
echo "Résultats dans $resultats"
ls "$resultats"
[ "$restes" = 0 ]
