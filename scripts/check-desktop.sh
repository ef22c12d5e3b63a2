#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the desktop entry, the file type of body files and the AppStream
# metadata, builds the Debian package from an existing build and checks what
# the package holds and needs, and that with its MIME data and desktop entry
# installed a body file is of Plavo's type and opens with Plavo.
# Runs as the ctest test DesktopUndPaket.
# Usage: scripts/check-desktop.sh [build dir, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
bau=${1:-build}

desktop-file-validate data/de.plavo.Plavo.desktop
appstreamcli validate --no-net data/de.plavo.Plavo.metainfo.xml
# shared-mime-info ships no schema: well-formed, and the parts the desktop needs.
mime_xml=data/de.plavo.Plavo.mime.xml
xmllint --noout "$mime_xml"
for teil in \
  "/*[local-name()='mime-info']/*[local-name()='mime-type'][@type='application/x-plavo']" \
  "//*[local-name()='glob'][@pattern='*.plv']" \
  "//*[local-name()='comment'][not(@xml:lang)]" \
  "//*[local-name()='comment'][@xml:lang='de']" \
  "//*[local-name()='icon'][@name='plavo']"; do
  if [ -z "$(xmllint --xpath "$teil" "$mime_xml" 2>/dev/null)" ]; then
    echo "check-desktop: $mime_xml lacks $teil" >&2
    exit 1
  fi
done
for zeile in 'MimeType=application/x-plavo;' 'Exec=plavo %f'; do
  grep -qxF "$zeile" data/de.plavo.Plavo.desktop || { echo "check-desktop: the desktop entry lacks $zeile" >&2; exit 1; }
done

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
  ./usr/share/doc/plavo/copyright \
  ./usr/share/mime/packages/de.plavo.Plavo.xml \
  ./usr/share/icons/hicolor/16x16/apps/plavo.png \
  ./usr/share/icons/hicolor/32x32/apps/plavo.png \
  ./usr/share/icons/hicolor/48x48/apps/plavo.png \
  ./usr/share/icons/hicolor/scalable/apps/plavo.svg \
  ./usr/share/plavo/examples/innere_planeten.plv \
  ./usr/share/plavo/examples/sonne_erde_mond.plv \
  ./usr/share/plavo/examples/doppelstern.plv \
  ./usr/share/plavo/examples/achterbahn.plv \
  ./usr/share/plavo/examples/planetoidenring.plv \
  ./usr/share/plavo/examples/trojaner.plv; do
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

# The package's files in a folder of their own, its MIME data and desktop
# entry registered there as the system's triggers do after an install.
wurzel=$(mktemp -d "${TMPDIR:-/tmp}/plavo-paket.XXXXXX")
trap 'rm -rf "$wurzel"' EXIT
dpkg-deb -x "$paket" "$wurzel"

# The licence statement in Debian's machine-readable format, read strictly
# (Debian's own python3, which has the parser).
if ! /usr/bin/python3 - "$wurzel/usr/share/doc/plavo/copyright" <<'PY'
import sys
from debian.copyright import Copyright
c = Copyright(open(sys.argv[1], encoding="utf-8"), strict=True)
lizenzen = {p.license.synopsis for p in c.all_files_paragraphs()}
if lizenzen != {"GPL-3+"} or {l.license.synopsis for l in c.all_license_paragraphs()} != {"GPL-3+"}:
    sys.exit(f"licences {lizenzen}, not GPL-3+")
PY
then
  echo "check-desktop: the package's copyright file is not a valid machine-readable GPL-3+ statement" >&2
  fehler=1
fi
daten=$wurzel/usr/share
export XDG_DATA_HOME=$daten XDG_DATA_DIRS=$daten:/usr/share XDG_CONFIG_HOME=$wurzel/config LC_ALL=C
update-mime-database "$daten/mime"
update-desktop-database "$daten/applications"
for beispiel in examples/innere_planeten.plv "$daten/plavo/examples/innere_planeten.plv"; do
  typ=$(gio info -a standard::content-type "$beispiel" | sed -n 's/^ *standard::content-type: //p')
  if [ "$typ" != application/x-plavo ]; then
    echo "check-desktop: $beispiel is of type '$typ', not application/x-plavo" >&2
    fehler=1
  fi
done
# GLib lists a desktop entry only when its program is on the PATH.
standard=$(PATH="$wurzel/usr/bin:$PATH" gio mime application/x-plavo | sed -n '1s/.*: //p')
if [ "$standard" != de.plavo.Plavo.desktop ]; then
  echo "check-desktop: body files open with '$standard', not de.plavo.Plavo.desktop" >&2
  fehler=1
fi

[ $fehler -eq 0 ] && echo "check-desktop: $(basename "$paket") ok"
exit $fehler
