# shellcheck shell=bash
# Sourced, not run: gives the caller a private X server (Xvfb with openbox on
# a free display), a 64-bit Wine prefix in the cache with a persistent
# wineserver, and the Simplified Chinese locale, so Wine's ANSI code page is
# 936 (GBK) as on a Chinese Windows.
#
#   source scripts/wine-env.sh
#   trap inkmoss_wine_cleanup EXIT
#   wine build/mingw/inkmoss_win32_tests.exe
#
# inkmoss_wine_cleanup ends only the processes started here, by their ids.
# Sourcing fails (and cleans up after itself) when something cannot start.

# Sourced a second time, it starts afresh instead of losing track of the
# processes of the first time.
if declare -F inkmoss_wine_cleanup >/dev/null; then
  inkmoss_wine_cleanup
fi

INKMOSS_CACHE=${INKMOSS_CACHE:-/var/cache/inkmoss}
export WINEPREFIX=${INKMOSS_WINEPREFIX:-$INKMOSS_CACHE/wineprefix}
inkmoss_wine_prefix=$WINEPREFIX
export WINEARCH=win64
export WINEDEBUG=-all
export LC_ALL=zh_CN.UTF-8
# Keeps Wine from adding menu entries and file associations to the desktop
# of whoever runs the tests.
export WINEDLLOVERRIDES=winemenubuilder.exe=d
inkmoss_wine_pids=()
inkmoss_wine_server=
inkmoss_wine_log=

inkmoss_wine_cleanup() {
  local i pid
  # Wine's own processes (services.exe, explorer.exe, ...) outlive a killed
  # wineserver, so the server that was started here ends them itself first.
  if [ -n "$inkmoss_wine_server" ]; then
    WINEPREFIX=$inkmoss_wine_prefix wineserver --kill 2>/dev/null || true
    wait "$inkmoss_wine_server" 2>/dev/null || true
    inkmoss_wine_server=
  fi
  # Newest first: the window manager before X.
  for ((i = ${#inkmoss_wine_pids[@]} - 1; i >= 0; i--)); do
    pid=${inkmoss_wine_pids[i]}
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  inkmoss_wine_pids=()
  if [ -n "$inkmoss_wine_log" ]; then
    rm -rf "$inkmoss_wine_log"
    inkmoss_wine_log=
  fi
}

inkmoss_wine_fail() {
  echo "wine-env: $*" >&2
  if [ -n "$inkmoss_wine_log" ]; then
    tail -n 20 "$inkmoss_wine_log"/*.log >&2 2>/dev/null || true
  fi
  inkmoss_wine_cleanup
  return 1
}

# Polls a condition for up to ten seconds while the process it depends on lives.
inkmoss_wine_wait() {
  local pid=$1 tries
  shift
  for ((tries = 0; tries < 100; tries++)); do
    "$@" >/dev/null 2>&1 && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

inkmoss_wine_start_x() {
  local n pid
  for ((n = 97; n < 200; n++)); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$inkmoss_wine_log/xvfb.log" 2>&1 &
    pid=$!
    # Another server may take the same number first; then try the next one.
    if inkmoss_wine_wait "$pid" xdpyinfo -display ":$n"; then
      inkmoss_wine_pids+=("$pid")
      export DISPLAY=":$n"
      return 0
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  return 1
}

inkmoss_wine_has_wm() {
  grep -q 'window id' < <(xprop -root _NET_SUPPORTING_WM_CHECK)
}

inkmoss_wine_start_wm() {
  local pid
  openbox --sm-disable >"$inkmoss_wine_log/openbox.log" 2>&1 &
  pid=$!
  inkmoss_wine_pids+=("$pid")
  inkmoss_wine_wait "$pid" inkmoss_wine_has_wm
}

# Settings a headless test run needs from a new prefix: a crash ends the
# program with a backtrace instead of waiting for a click on a dialog, and the
# faces a Chinese Windows has come from the installed Chinese font.
inkmoss_wine_configure() {
  local face
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null || return 1
  for face in '微软雅黑' 'Microsoft YaHei' '宋体' 'SimSun' '新宋体' 'NSimSun'; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
      /d 'WenQuanYi Micro Hei' /f >/dev/null || return 1
  done
}

inkmoss_wine_init_prefix() {
  local ready=$WINEPREFIX/.inkmoss-ready
  [ -f "$ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")" || return 1
  echo "wine-env: initialising $WINEPREFIX" >&2
  wineboot --init || return 1
  inkmoss_wine_configure || return 1
  # Let the prefix's own short-lived wineserver write the registry to disk.
  timeout 120 wineserver --wait || return 1
  touch "$ready"
}

# A persistent wineserver saves every wine start the prefix's start-up cost.
# When one already serves this prefix the new one exits at once, and the
# running one is left alone.
inkmoss_wine_start_server() {
  local pid
  wineserver --foreground --persistent >"$inkmoss_wine_log/wineserver.log" 2>&1 &
  pid=$!
  sleep 0.5
  if kill -0 "$pid" 2>/dev/null; then
    inkmoss_wine_server=$pid
  else
    wait "$pid" 2>/dev/null || true
  fi
}

# Wine's background processes (services.exe and its kin) inherit the standard
# output of the wine command that starts them and keep it open; started here
# first, they hold /dev/null, and `wine program | tee log` ends with the program.
inkmoss_wine_boot() {
  wineboot </dev/null >/dev/null 2>&1
}

inkmoss_wine_start() {
  local tool
  for tool in Xvfb openbox xdpyinfo xprop wine wineboot wineserver; do
    command -v "$tool" >/dev/null || { inkmoss_wine_fail "$tool is missing: run scripts/setup.sh"; return 1; }
  done
  grep -qix 'zh_CN.utf8' < <(locale -a) ||
    { inkmoss_wine_fail "locale zh_CN.UTF-8 is missing: run scripts/setup.sh"; return 1; }
  inkmoss_wine_log=$(mktemp -d /tmp/inkmoss-wine.XXXXXX) || return 1
  inkmoss_wine_start_x || { inkmoss_wine_fail "Xvfb did not start"; return 1; }
  inkmoss_wine_start_wm || { inkmoss_wine_fail "openbox did not start on $DISPLAY"; return 1; }
  inkmoss_wine_init_prefix || { inkmoss_wine_fail "could not initialise $WINEPREFIX"; return 1; }
  inkmoss_wine_start_server
  inkmoss_wine_boot || { inkmoss_wine_fail "wineboot failed in $WINEPREFIX"; return 1; }
  echo "wine-env: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX LC_ALL=$LC_ALL" >&2
}

inkmoss_wine_start
