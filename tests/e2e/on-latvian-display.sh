#!/usr/bin/env bash
# Runs a Windows program with a Latvian Windows display (GetUserDefaultUILanguage 0x0426,
# from LC_MESSAGES) on the Western ANSI code page (1252, from LC_CTYPE): the Latvian
# wizard's letters must come through without a Baltic code page.
#   on-latvian-display.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
unset LC_ALL
export LANG=en_US.UTF-8 LC_MESSAGES=lv_LV.UTF-8
export WINEPREFIX="${WINEPREFIX:-$PWD/wineprefix}"  # as tools/wine-run chooses it
exec "$root/tools/wine-run" "$@"
