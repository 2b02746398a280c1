# Sourced by the run and test scripts: a Wine prefix of the project's own (32-bit, with a CJK
# font linked into the UI fonts) and a display (the caller's $DISPLAY, else a virtual one).
# Afterwards WINEPREFIX, WINEARCH, WINEDEBUG and DISPLAY are exported.

TOVRELLE_ROOT=${TOVRELLE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$TOVRELLE_ROOT/build/wineprefix}
TOVRELLE_WINE_MODE=${TOVRELLE_WINE_MODE:-run}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

tovrelle_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in ${TOVRELLE_DISPLAY_NUMBERS:-99 98 97 96 95}; do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      TOVRELLE_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
      done
      echo "Xvfb did not start on :$n" >&2
      return 1
    fi
  done
  echo "no free X display number" >&2
  return 1
}

tovrelle_stop_display() {
  if [ -n "${TOVRELLE_XVFB_PID:-}" ]; then
    kill "$TOVRELLE_XVFB_PID" 2>/dev/null || true
    wait "$TOVRELLE_XVFB_PID" 2>/dev/null || true
    unset TOVRELLE_XVFB_PID
  fi
}

# Only the calls the tests watch are traced when a test turns on +relay.
TOVRELLE_RELAY_INCLUDE='user32.ExitWindowsEx;user32.MessageBoxW;shell32.Shell_NotifyIconW;user32.TrackPopupMenu;kernel32.LoadLibraryExW;kernel32.FreeLibrary;kernel32.SetDefaultDllDirectories;user32.ChangeWindowMessageFilterEx;kernel32.PowerCreateRequest;kernel32.PowerSetRequest'

tovrelle_set_relay_include() {
  local stamp="$WINEPREFIX/.tovrelle-relay"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$TOVRELLE_RELAY_INCLUDE" ]; then
    return 0
  fi
  wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ \
    /d "$TOVRELLE_RELAY_INCLUDE" /f >/dev/null 2>&1
  wineserver -w
  printf '%s' "$TOVRELLE_RELAY_INCLUDE" > "$stamp"
}

tovrelle_make_prefix() {
  local stamp="$WINEPREFIX/.tovrelle-fonts"
  if [ -f "$stamp" ]; then
    tovrelle_set_relay_include
    return 0
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # Chinese captions render only when the default UI fonts link to a CJK font.
  cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/"
  local font
  for font in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "System"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$font" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
  done
  if [ "$TOVRELLE_WINE_MODE" = test ]; then
    # Tests run on their own virtual display without a window manager: unmanaged windows
    # map and unmap at once instead of waiting for a manager that never answers.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  fi
  wineserver -w
  touch "$stamp"
  tovrelle_set_relay_include
}
