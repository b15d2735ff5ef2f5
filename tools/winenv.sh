# Shared by the test and run commands: a display, a fresh Wine prefix and one wineserver
# kept alive for the whole run, all stopped again by stop_wine_env.
# Source it, then call start_wine_env PREFIX_DIR.

XVFB_PID=""

start_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${FORCE_XVFB:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -dpi 96 >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
    XVFB_PID=""
  done
  echo "winenv: no free display for Xvfb" >&2
  return 1
}

# The test drives every test may rely on:
#   d: an optical drive, e: a removable drive labelled DATA, n: a network drive,
#   f: a removable drive whose folder tests/common/with-small-drive mounts a small tmpfs on.
make_test_drives() {
  local drives="$1/drives"
  mkdir -p "$drives/d" "$drives/e" "$drives/f" "$drives/n"
  printf 'DATA' >"$drives/e/.windows-label"
  local letter
  for letter in d e f n; do
    ln -sfn "$drives/$letter" "$WINEPREFIX/dosdevices/$letter:"
  done
  local drive
  for drive in d:cdrom e:floppy f:floppy n:network; do
    wine reg add 'HKLM\Software\Wine\Drives' /v "${drive%%:*}:" /t REG_SZ /d "${drive#*:}" /f >/dev/null 2>&1
  done
}

start_wine_env() {
  local dir="$1"
  export WINEPREFIX="$dir/prefix"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # The program is 32-bit; a 32-bit prefix is what its users' Wine or Windows gives it.
  export WINEARCH=win32
  export TZ="${TZ:-Asia/Kolkata}"
  start_display
  rm -rf "$dir"
  mkdir -p "$dir"
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  make_test_drives "$dir"
  # Debian's Wine does not find its own fonts: without these, "MS Shell Dlg 2" falls back
  # to another face and title-bar glyphs show as letters.
  local font
  for font in /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf; do
    [ -f "$font" ] && cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  # Wine's Tahoma lacks the Latvian k, l, n and r with cedilla (Windows' has them): the
  # system's font link lets Liberation Sans draw those letters, as Windows links fonts.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v Tahoma /t REG_MULTI_SZ /d 'LiberationSans-Regular.ttf,Liberation Sans' /f >/dev/null 2>&1
  # Xvfb has no window manager; unmanaged windows spare Wine its two-second wait each
  # time a window is hidden (every message box, every closed form).
  if [ -n "$XVFB_PID" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  fi
  wineserver -k 2>/dev/null || true
  wineserver -w
  # One server for the whole run: every test program reuses it instead of starting its own.
  # Its services and the desktop process are started here, detached from any test's output,
  # so ctest never waits on a pipe that a Wine service inherited.
  wineserver -p >/dev/null 2>&1
  wine wineboot >/dev/null 2>&1
}

# Sets the display's DPI (LogPixels, per user and per machine) and restarts the wineserver,
# which reads it only when it starts; the restarted one is kept alive as start_wine_env's.
set_wine_dpi() {
  local dpi="$1" key
  for key in 'HKCU\Control Panel\Desktop' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  done
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p >/dev/null 2>&1
  wine wineboot >/dev/null 2>&1
}

stop_wine_env() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
