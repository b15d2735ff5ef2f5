#!/usr/bin/env bash
# Runs a Windows program on a display of another DPI: LogPixels set where Wine reads it
# and the wineserver restarted to read it; 96 DPI and a fresh server again afterwards.
#   at-dpi.sh DPI PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dpi="$1"
shift
export WINEPREFIX="${WINEPREFIX:-$PWD/wineprefix}"  # as tools/wine-run chooses it
export WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
. "$root/tools/winenv.sh"
restore() {
  set_wine_dpi 96
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
}
trap restore EXIT
set_wine_dpi "$dpi"
"$root/tools/wine-run" "$@"
