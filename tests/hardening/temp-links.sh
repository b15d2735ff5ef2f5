#!/usr/bin/env bash
# Plants links in a temporary folder for the TempLinks tests, from the Unix side: Wine
# shows a Unix symbolic link to a folder as a folder link, but cannot make one itself.
#   temp-links.sh plant    makes C:\temp-links afresh
#   temp-links.sh remove   removes it (links that point nowhere cannot be deleted by Wine)
set -euo pipefail
prefix="${WINEPREFIX:-$PWD/wineprefix}"  # as tools/wine-run chooses it
dir="$prefix/drive_c/temp-links"
rm -rf "$dir"
[ "${1:-}" = remove ] && exit 0

temp="$dir/temp"                           # the temporary folder Setup.exe is given
name='~ZentrovaLatvianSpellcheckerSetup'   # the program's temporary-file prefix
mkdir -p "$temp/$name.old/inner" "$dir/target" "$dir/inner-target" "$dir/outside"
echo keep >"$dir/target/keep.txt"
echo keep >"$dir/inner-target/keep.txt"
echo own >"$temp/$name.old/inner/own.txt"
ln -s "$dir/target" "$temp/${name}Link"                      # a folder link the sweep meets
ln -s "$dir/inner-target" "$temp/$name.old/inner/link"        # one inside a swept tree
ln -s "$dir/outside/written-through.tmp" "$temp/${name}0.tmp"  # one to nowhere, at the first name
