#!/usr/bin/env bash
# Checks the desktop entry and the AppStream metadata, builds the Debian
# package from an existing build and checks what the package holds and needs.
# Runs as the ctest test DesktopUndPaket.
# Usage: scripts/check-desktop.sh [build dir, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
bau=${1:-build}

desktop-file-validate data/de.plavo.Plavo.desktop
appstreamcli validate --no-net data/de.plavo.Plavo.metainfo.xml

rm -f "$bau"/plavo_*.deb
(cd "$bau" && cpack -G DEB >/dev/null)
shopt -s nullglob
pakete=("$bau"/plavo_*.deb)
if [ ${#pakete[@]} -ne 1 ]; then
  echo "check-desktop: expected one plavo_*.deb in $bau, found ${#pakete[@]}" >&2
  exit 1
fi
paket=${pakete[0]}

fehler=0
inhalt=$(dpkg-deb --contents "$paket" | awk '{print $NF}')
for datei in \
  ./usr/bin/plavo \
  ./usr/share/applications/de.plavo.Plavo.desktop \
  ./usr/share/metainfo/de.plavo.Plavo.metainfo.xml \
  ./usr/share/icons/hicolor/16x16/apps/plavo.png \
  ./usr/share/icons/hicolor/32x32/apps/plavo.png \
  ./usr/share/icons/hicolor/48x48/apps/plavo.png \
  ./usr/share/icons/hicolor/scalable/apps/plavo.svg \
  ./usr/share/plavo/examples/innere_planeten.plv \
  ./usr/share/plavo/examples/sonne_erde_mond.plv \
  ./usr/share/plavo/examples/doppelstern.plv \
  ./usr/share/plavo/examples/achterbahn.plv \
  ./usr/share/plavo/examples/planetoidenring.plv; do
  if ! grep -qxF "$datei" <<<"$inhalt"; then
    echo "check-desktop: $paket lacks $datei" >&2
    fehler=1
  fi
done

abhaengig=$(dpkg-deb --field "$paket" Depends)
for p in libqt6widgets6 libqt6printsupport6 libqt6charts6 libqt6gui6 libqt6core6 qt6-translations-l10n; do
  if ! grep -qE "(^|, )$p( |,|$)" <<<"$abhaengig"; then
    echo "check-desktop: $paket does not depend on $p (Depends: $abhaengig)" >&2
    fehler=1
  fi
done

[ $fehler -eq 0 ] && echo "check-desktop: $(basename "$paket") ok"
exit $fehler
