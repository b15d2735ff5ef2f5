#!/usr/bin/env bash
# Runs a Windows program as on a Latvian system with an English display: the Baltic ANSI
# code page (1257, from LC_CTYPE=lv_LV.UTF-8; the display language would come from
# LC_MESSAGES) and a temporary folder named with a Latvian letter, set where Windows keeps
# it (HKCU\Environment, TEMP and TMP). Both values and the folder are put back after.
#   on-latvian-system.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
unset LC_ALL
export LANG=en_US.UTF-8 LC_CTYPE=lv_LV.UTF-8  # an English display on the Baltic code page
export WINEPREFIX="${WINEPREFIX:-$PWD/wineprefix}"  # as tools/wine-run chooses it
run() { "$root/tools/wine-run" "$@"; }

saved="$PWD/latvian-environment.reg"
user="$WINEPREFIX/drive_c/users/Jānis"
run reg export 'HKCU\Environment' "$saved" /y >/dev/null
restore() {
  run reg import "$saved" >/dev/null 2>&1 || true
  rm -rf "$saved" "$user"
}
trap restore EXIT
mkdir -p "$user/Temp"
for name in TEMP TMP; do
  run reg add 'HKCU\Environment' /v "$name" /t REG_SZ /d 'C:\users\Jānis\Temp' /f >/dev/null
done
run "$@"
