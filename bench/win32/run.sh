#!/usr/bin/env bash
# The Windows program's start-up under Wine against its floor, the twin of
# bench/run.sh: the 64-bit build of the program (build/windows64) and the
# Win32 text floor (bench/win32/text_floor_window.cpp: one window of Form2's
# size with one label, same compiler, flags and manifest) are started in
# turn RUNS times (default 15) on an X server of their own, by the Linux
# build's window_timer: the time from just before the Wine process is
# created until Wine maps the window "Form2" on the X server, until its
# first frame, the processor time, and the resident memory of the Wine
# process 300 ms after the first frame (/proc/PID/status; the Wine server
# and Wine's own desktop process are shared by both and left out).
#
# Every window is a top-level X window of its own (the bench's Wine prefix
# has no virtual desktop), and the Wine server is kept running between the
# starts, as Windows is running before a program starts: each start pays
# for the Wine process, not for booting Wine. One untimed start of each goes
# first. With AB_PROGRAM=PATH.exe a second build of the program is started
# in turn as a third contestant (an A/B comparison).
set -Eeuo pipefail
trap 'echo "bench/win32/run.sh: line $LINENO failed: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/../.."

runs=${RUNS:-15}
toolchain=()
build=build/windows64
linux=build/bench

scripts/install-packages.sh $(scripts/packages.sh build windows windows-wine64) \
  $(sed -e 's/#.*//' bench/packages.txt | xargs)
[ -e "$build/CMakeCache.txt" ] || toolchain=(--toolchain cmake/mingw-w64-x86_64.cmake)
cmake -S . -B "$build" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target same-height text_floor_window >/dev/null
cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=Release -DSAME_HEIGHT_BUILD_TESTS=OFF >/dev/null
cmake --build "$linux" -j "$(nproc)" --target window_timer >/dev/null

wine=/usr/lib/wine/wine64
export WINEPREFIX=$PWD/$build/bench-wine-prefix WINEARCH=win64 WINELOADER=$wine WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
xvfb_pid=
stop() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap stop EXIT

source bench/x_server.sh
start_x_server

# The tests' prefix recipe (fonts, no crash dialog), then without its
# virtual desktop, so that each program's window is an X window of its own.
if [ ! -e "$WINEPREFIX/.bench" ]; then
  rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
  cmake/make-wine-prefix.sh >/dev/null 2>&1
  "$wine" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
  wineserver --wait
  touch "$WINEPREFIX/.bench"
fi
wineserver -p # stays until stop() ends it

program=$PWD/$build/bin/same-height.exe
floor=$PWD/$build/bin/text_floor_window.exe
names=(program text_floor)
paths=("$program" "$floor")
if [ -n "${AB_PROGRAM:-}" ]; then
  names+=(program_b)
  paths+=("$(realpath "$AB_PROGRAM")")
fi
count=${#names[@]}

failed=0
start() {
  "$linux/bench/window_timer" Form2 300 "$wine" "$1" 2>>"$work/errors" </dev/null >>"$2" ||
    failed=$((failed + 1))
}
for path in "${paths[@]}"; do start "$path" /dev/null; done
for i in $(seq "$runs"); do
  for j in $(seq 0 $((count - 1))); do
    k=$(((i + j) % count))
    start "${paths[$k]}" "$work/${names[$k]}"
  done
done

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
# The median (or with a third argument "least", the least) of one figure.
figure() {
  grep -o "\\b$2=[-0-9.]*" "$work/$1" | cut -d= -f2 |
    if [ "${3:-}" = least ]; then sort -n | head -1; else median; fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f×", a / b}'; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
over() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%+.2f MiB", (a - b) / 1024}'; }
trow() { printf '| %s | %s | %s | %s | %s |\n' "$@"; }

echo "Windows program under $("$wine" --version), medians of $runs starts each in turn; load average $(cut -d' ' -f1-3 /proc/loadavg) after."
[ "$failed" = 0 ] || echo "$failed starts showed no window: $(sort -u "$work/errors" | head -3)"
echo
trow figure program "text floor" "program / text floor" target
trow --- --- --- --- ---
for key in map_ms paint_ms cpu_ms; do
  case $key in
  map_ms) what="process start to window mapped" target="≤ 1.10×" ;;
  paint_ms) what="process start to first frame drawn" target="(shown)" ;;
  cpu_ms) what="processor time, start to stop" target="(shown)" ;;
  esac
  p=$(figure program $key) t=$(figure text_floor $key)
  trow "$what" "$p ms" "$t ms" "$(ratio "$p" "$t")" "$target"
done
p=$(figure program map_ms least) t=$(figure text_floor map_ms least)
trow "window mapped, the fastest of the starts" "$p ms" "$t ms" "$(ratio "$p" "$t")" "(shown)"
for key in rss_kib anon_kib file_kib; do
  case $key in
  rss_kib) what="resident memory once shown" target="≤ +1 MiB" ;;
  anon_kib) what="… of which anonymous" target="" ;;
  file_kib) what="… of which file-backed" target="" ;;
  esac
  p=$(figure program $key) t=$(figure text_floor $key)
  trow "$what" "$(mib "$p") MiB" "$(mib "$t") MiB" "$(over "$p" "$t")" "$target"
done
if [ -n "${AB_PROGRAM:-}" ]; then
  echo
  echo "B ($AB_PROGRAM): mapped $(figure program_b map_ms) ms (fastest $(figure program_b map_ms least) ms), processor $(figure program_b cpu_ms) ms," \
    "resident $(mib "$(figure program_b rss_kib)") MiB ($(over "$(figure program_b rss_kib)" "$(figure program rss_kib)") over A)."
fi
