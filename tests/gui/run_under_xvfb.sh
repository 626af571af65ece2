#!/usr/bin/env bash
# Runs the GUI driver under Wine in a virtual X display of its own:
#   run_under_xvfb.sh DRIVER_EXE TALVORIC_EXE OUT_DIR [SCENARIO_NAME_PART...]
# Starts Xvfb on a free display number, uses a Wine prefix in OUT_DIR set to a virtual
# desktop (so windows get real frames and captions), runs the driver, and turns the
# screenshots it saved (BMP) into PNG files under OUT_DIR/screenshots.
set -uo pipefail
driver=$1 program=$2 out=$3
shift 3
mkdir -p "$out"
out=$(cd "$out" && pwd)

export WINEPREFIX="$out/wineprefix"
export WINEDEBUG=-all
export LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WAYLAND_DISPLAY

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
}
trap cleanup EXIT

# A free display: no lock file and no socket; Xvfb itself refuses a taken one, so a
# race with another starter just moves on to the next number.
for n in $(seq 90 189); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
    export DISPLAY=":$n"
    break
  fi
  xvfb_pid=""
done
if [ -z "$xvfb_pid" ]; then echo "no free X display for Xvfb" >&2; exit 1; fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  # One virtual desktop for every window of the prefix: frames and captions without a
  # window manager.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
fi
# Wine's own fonts (Marlett draws the caption buttons); this Wine build does not look
# in its data folder, but it does read the prefix's Fonts folder.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ ! -e "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null || true
fi

rm -rf "$out/screenshots"
wine "$driver" "$(winepath -w "$program")" "$(winepath -w "$out")" "$@"
status=$?

if [ -d "$out/screenshots" ]; then
  for bmp in "$out"/screenshots/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
  echo "screenshots: $out/screenshots"
fi
exit $status
