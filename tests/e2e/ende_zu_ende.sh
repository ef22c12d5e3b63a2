#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End to end: the real plavo binary on a virtual X server (Xvfb), driven by
# real key events (xdotool), checked by its window caption.
#   start: caption "Plavo"; F5: the caption counts days; Ctrl+Q: it stops;
#   Ctrl+O: a body file chosen in the file dialog by typing its path;
#   F5, Ctrl+R, F5: the count starts again from the first step;
#   Datei > Beenden (Alt+D, E): the program ends with status 0;
#   "plavo examples/innere_planeten.plv": the caption names it, F5 in the
#   energy window (Ctrl+E) runs it.
# Before that, without any display: --help and --version answer on the
# console, a wrong call is refused with the usage, and no window opens.
# Every wait polls with a deadline; nothing relies on a fixed delay.
# Usage: ende_zu_ende.sh <plavo binary>     Exit status 77: Xvfb or xdotool missing.
set -euo pipefail

plavo=$(realpath "$1")
quelle=$(realpath "$(dirname "$0")/../..")

# konsole <expected status> <command line...>: runs plavo where no window can
# open (no display; xcb would abort without one) and keeps its output in $aus and $err.
konsole() {
  local soll=$1 ist=0 fehlerdatei
  shift
  fehlerdatei=$(mktemp)
  aus=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$plavo" "$@" 2>"$fehlerdatei") || ist=$?
  err=$(cat "$fehlerdatei")
  rm -f "$fehlerdatei"
  if [ "$ist" -ne "$soll" ]; then
    echo "FEHLER: plavo $* endet mit Status $ist statt $soll: $aus $err" >&2
    exit 1
  fi
}
echo "Befehlszeile ohne Anzeige"
konsole 0 --help
[[ "$aus" == *"Aufruf: "*"[DATEI]"* && "$aus" == *"--version"* && -z "$err" ]] || { echo "FEHLER: --help: $aus $err" >&2; exit 1; }
konsole 0 --version
[[ "$aus" =~ ^Plavo\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "FEHLER: --version: $aus" >&2; exit 1; }
konsole 2 --gibtsnicht "$quelle/examples/innere_planeten.plv"
[[ -z "$aus" && "$err" == *"Unbekannte Option 'gibtsnicht'"*"Aufruf: "* ]] || { echo "FEHLER: falsche Option: $aus $err" >&2; exit 1; }
for werkzeug in Xvfb xdotool; do
  command -v "$werkzeug" >/dev/null || { echo "$werkzeug fehlt, Test übersprungen"; exit 77; }
done

arbeit=$(mktemp -d "${TMPDIR:-/tmp}/plavo-e2e.XXXXXX")
xvfb_pid=
plavo_pid=
aufraeumen() {
  if [ -n "$plavo_pid" ] && kill -0 "$plavo_pid" 2>/dev/null; then kill "$plavo_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$arbeit"
}
trap aufraeumen EXIT

fehler() {
  echo "FEHLER: $*" >&2
  if [ -n "${fenster:-}" ]; then echo "Titel zuletzt: $(titel || true)" >&2; fi
  echo "--- Ausgabe von plavo:" >&2
  cat "$arbeit/plavo.log" >&2 2>/dev/null || true
  exit 1
}

# warten <seconds> <what> <command...>: polls the command until it succeeds.
warten() {
  local frist=$1 was=$2
  shift 2
  local ende=$((SECONDS + frist))
  until "$@"; do
    ((SECONDS < ende)) || fehler "$was (nach ${frist} s)"
    sleep 0.1
  done
}

# Xvfb picks a free display itself and writes its number to fd 3. Without
# -noreset it resets when its last client leaves, and a program started just
# then (the second plavo below) cannot connect.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$arbeit/display" 2>"$arbeit/xvfb.log" &
xvfb_pid=$!
warten 20 "Xvfb startet nicht" test -s "$arbeit/display"
export DISPLAY=":$(cat "$arbeit/display")"

# A home of its own: the file dialog keeps its state in the settings.
mkdir -m 700 "$arbeit/home" "$arbeit/laufzeit"
export HOME=$arbeit/home XDG_CONFIG_HOME=$arbeit/home/.config XDG_RUNTIME_DIR=$arbeit/laufzeit
export QT_QPA_PLATFORM=xcb
# A sanitizer build reports what the X11 session's system libraries keep.
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/lsan_fremd.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE SESSION_MANAGER

# One body: the example record "Erde", 1 AE from the origin.
koerperdatei=$arbeit/sonne.plv
printf 'Erde           \x00\x00\x00\x00\x00\x00\xf0\x3f\x00\x00\x00\x2e\x59\x76\x41\x42'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x40\x00\x00\x00\x00\x00\x80\x56\x40\xff\x00\x00\x00' \
  >"$koerperdatei"
[ "$(stat -c %s "$koerperdatei")" -eq 59 ] || fehler "Körperdatei nicht 59 Bytes lang"
vorher=$(sha256sum "$koerperdatei")

"$plavo" >"$arbeit/plavo.log" 2>&1 &
plavo_pid=$!

laeuft() { kill -0 "$plavo_pid" 2>/dev/null; }
sichtbare_fenster() { xdotool search --onlyvisible --pid "$plavo_pid" 2>/dev/null || true; }
hauptfenster_finden() {
  laeuft || fehler "plavo hat sich beendet"
  fenster=$(xdotool search --onlyvisible --pid "$plavo_pid" --name '^Plavo' 2>/dev/null | head -n 1 || true)
  [ -n "$fenster" ]
}
titel() { xdotool getwindowname "$fenster" 2>/dev/null; }
titel_ist() { laeuft || fehler "plavo hat sich beendet"; [ "$(titel)" = "$1" ]; }
# Without a window manager nobody gives the focus: take it before each key.
taste() {
  laeuft || fehler "plavo hat sich beendet"
  xdotool windowfocus --sync "$fenster"
  xdotool key --clearmodifiers "$@"
}

# The day count in a caption "Plavo - [...] - <n> Tage", else nothing.
tage() { titel | sed -n 's/^Plavo - \(\[.*\] - \)\{0,1\}\([0-9]*\) Tage$/\2/p'; }
tage_mehr_als() { local t; t=$(tage); [ -n "$t" ] && [ "$t" -gt "$1" ]; }
tage_weniger_als() { local t; t=$(tage); [ -n "$t" ] && [ "$t" -lt "$1" ]; }
# Steady: the caption does not change over five ticks of the default 100 ms timer.
titel_steht() {
  local a b
  a=$(titel)
  sleep 0.5
  b=$(titel)
  [ "$a" = "$b" ]
}

echo "Start"
warten 60 "kein Hauptfenster" hauptfenster_finden
warten 10 "Titel beim Start ist nicht \"Plavo\"" titel_ist "Plavo"

echo "F5 startet, der Titel zählt die Tage"
taste F5
warten 20 "kein Tageszähler nach F5" tage_mehr_als 0
erste=$(tage)
warten 20 "Tageszähler steht nach F5" tage_mehr_als "$erste"

echo "Strg+Q hält an"
taste ctrl+q
warten 20 "Simulation hält nach Strg+Q nicht an" titel_steht
stand=$(titel)
titel_steht || fehler "Simulation läuft nach Strg+Q weiter"
[ "$(titel)" = "$stand" ] || fehler "Titel ändert sich nach Strg+Q"

echo "Strg+O öffnet eine Körperdatei über den Dateidialog"
taste ctrl+o
dialog_finden() {
  laeuft || fehler "plavo hat sich beendet"
  dialog=$(sichtbare_fenster | grep -vx "$fenster" | while read -r w; do
    [ -n "$(xdotool getwindowname "$w" 2>/dev/null)" ] && echo "$w"
  done | head -n 1)
  [ -n "$dialog" ]
}
warten 20 "kein Dateidialog nach Strg+O" dialog_finden
xdotool windowfocus --sync "$dialog"
xdotool type --delay 10 "$koerperdatei"
# The completer's list may take the first Return; press again while the dialog stays.
dialog_zu() { ! sichtbare_fenster | grep -qx "$dialog"; }
for versuch in 1 2 3; do
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key Return
  ende=$((SECONDS + 3))
  while ((SECONDS < ende)) && ! dialog_zu; do sleep 0.1; done
  dialog_zu && { echo "  Dialog zu nach Return Nr. $versuch"; break; }
done
dialog_zu || fehler "Dateidialog schließt nicht"
warten 20 "Titel nennt die geöffnete Datei nicht" titel_ist "Plavo - [sonne.plv]"

echo "F5, Strg+R, F5: die Zählung beginnt von vorn"
taste F5
warten 20 "kein Tageszähler nach F5" tage_mehr_als 19
taste ctrl+r
warten 20 "Simulation hält nach Strg+R nicht an" titel_steht
zuvor=$(tage)
taste F5
warten 20 "Zählung beginnt nach Strg+R nicht von vorn" tage_weniger_als "$zuvor"
[[ "$(titel)" == "Plavo - [sonne.plv] - "* ]] || fehler "Titel ohne Dateinamen"
taste ctrl+q

echo "Datei > Beenden"
taste alt+d
menue_offen() { laeuft || fehler "plavo hat sich beendet"; sichtbare_fenster | grep -vqx "$fenster"; }
warten 20 "Menü Datei öffnet nicht mit Alt+D" menue_offen
xdotool key e
beendet() { ! laeuft; }
warten 20 "plavo endet nicht nach Beenden" beendet
status=0
wait "$plavo_pid" || status=$?
plavo_pid=
[ "$status" -eq 0 ] || fehler "plavo endet mit Status $status"
[ "$(sha256sum "$koerperdatei")" = "$vorher" ] || fehler "die geöffnete Datei wurde verändert"

echo "plavo examples/innere_planeten.plv öffnet die Datei, F5 startet sie"
(cd "$quelle" && exec "$plavo" examples/innere_planeten.plv) >"$arbeit/plavo.log" 2>&1 &
plavo_pid=$!
warten 60 "kein Hauptfenster mit Datei" hauptfenster_finden
warten 10 "Titel nennt die Datei von der Befehlszeile nicht" titel_ist "Plavo - [innere_planeten.plv]"
# F5 pressed in the energy window runs the main window's simulation too.
energie_finden() {
  energie=$(xdotool search --onlyvisible --pid "$plavo_pid" --name '^Energiebilanz$' 2>/dev/null | head -n 1 || true)
  [ -n "$energie" ]
}
taste ctrl+e
warten 20 "kein Fenster Energiebilanz nach Strg+E" energie_finden
xdotool windowfocus --sync "$energie"
xdotool key --clearmodifiers F5
warten 20 "kein Tageszähler nach F5" tage_mehr_als 0
[[ "$(titel)" == "Plavo - [innere_planeten.plv] - "* ]] || fehler "Titel ohne Dateinamen"
taste ctrl+q
taste alt+d
warten 20 "Menü Datei öffnet nicht mit Alt+D" menue_offen
xdotool key e
warten 20 "plavo endet nicht nach Beenden" beendet
status=0
wait "$plavo_pid" || status=$?
plavo_pid=
[ "$status" -eq 0 ] || fehler "plavo endet mit Status $status"
echo "Ende zu Ende: bestanden"
