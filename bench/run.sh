#!/usr/bin/env bash
# Measures the program against its floor and prints one table:
#   start-up  the real program and an empty Qt window of the same size and
#             caption (bench/floor_window.cpp), started in turn RUNS times
#             (default 15) under Xvfb: time until the window is mapped and
#             until its first frame, processor time, resident memory;
#   full table 1001 people added through the real widgets, the time from
#             the click on "Найти" to the first report box on screen, and
#             memory, time and page faults while 1,000 boxes are dismissed
#             (bench/full_table_bench); and how long the program keeps
#             running when the application quits or the form is closed at
#             the first of the 500,500 reports (bench/form_gone_bench);
#   search    the pair search on a full table against a bare loop of the
#             same comparisons (bench/pair_search_bench, Google Benchmark).
# Installs what is missing, builds a Release into build/bench, and starts its
# own X server and session bus, which it stops at the end. With
# NO_SESSION_BUS=1 the programs run without a session bus, as under a bare
# xvfb-run: the toolkit then starts one through dbus-launch on every start.
set -Eeuo pipefail
trap 'echo "bench/run.sh: line $LINENO failed: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."

runs=${RUNS:-15}
build=build/bench

scripts/install-packages.sh $(scripts/packages.sh build test) \
  $(sed -e 's/#.*//' bench/packages.txt | xargs)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSAME_HEIGHT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" \
  --target same-height floor_window text_floor_window window_timer full_table_bench form_gone_bench \
  pair_search_bench >/dev/null

program=$build/runtime/qt/same-height
floor=$build/bench/floor_window
text_floor=$build/bench/text_floor_window
work=$(mktemp -d)
xvfb_pid=
bus_pid=
stop() {
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap stop EXIT

# A desktop-like session: an X server with a black root window that keeps
# running between clients (no reset while the next program connects), a
# session bus, and a private runtime folder.
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -br -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
if [ "${NO_SESSION_BUS:-0}" = 1 ]; then
  unset DBUS_SESSION_BUS_ADDRESS
else
  { read -r DBUS_SESSION_BUS_ADDRESS; read -r bus_pid; } < <(
    dbus-daemon --session --fork --print-address=1 --print-pid=1)
  export DBUS_SESSION_BUS_ADDRESS
fi

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
# The median (or with a third argument "least", the least) of one key=value
# figure over the lines of a file.
figure() {
  grep -o "\\b$2=[-0-9.]*" "$1" | cut -d= -f2 | if [ "${3:-}" = least ]; then sort -n | head -1; else median; fi
}
load() { cut -d' ' -f1-3 /proc/loadavg; }
load_before=$(load)

# Start-up: one untimed start of each first, then the two in turn, each
# going first every other time. A start whose window never shows is
# counted and left out.
failed=0
start() {
  "$build/bench/window_timer" Form2 300 "$1" 2>>"$work/errors" </dev/null >>"$2" ||
    failed=$((failed + 1))
}
start "$program" /dev/null
start "$floor" /dev/null
start "$text_floor" /dev/null
# The three in turn, the order rotating so that each goes first as often.
names=(program floor text_floor)
paths=("$program" "$floor" "$text_floor")
for i in $(seq "$runs"); do
  for j in 0 1 2; do
    k=$(((i + j) % 3))
    start "${paths[$k]}" "$work/${names[$k]}"
  done
done

# Instructions from the first one to the window's map, counted by callgrind
# (free of the machine's load): the profile is dumped as the map request is
# about to be sent, then the program is stopped.
instructions() {
  rm -f "$work/callgrind."*
  "$build/bench/window_timer" Form2 0 /usr/bin/valgrind --tool=callgrind --dump-before=xcb_map_window \
    --callgrind-out-file="$work/callgrind.%p" "$1" >/dev/null 2>>"$work/errors" </dev/null || true
  ls "$work/callgrind."*.1 2>/dev/null | head -1 | xargs -r grep -h '^summary:' |
    awk '{printf "%.1f", $2 / 1e6}'
}
ins_p=$(instructions "$program"); ins_f=$(instructions "$floor"); ins_t=$(instructions "$text_floor")

for i in 1 2 3; do
  "$build/bench/full_table_bench" 2>/dev/null >>"$work/full_table"
done
for how in quit close; do
  "$build/bench/form_gone_bench" 1001 "$how" 2>/dev/null >"$work/gone_$how" || true
done
# How long the program ran on once its form went, or how long a run that
# had to be stopped had run by then.
gone() {
  grep -o '\b\(running_after_form_gone_ms\|still_running_after_s\)=[0-9.]*' "$work/gone_$1" |
    sed 's/running_after_form_gone_ms=\(.*\)/\1 ms/; s/still_running_after_s=\(.*\)/still running after \1 s/'
}

"$build/bench/pair_search_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null | grep '_median"' >"$work/search"
# Median processor time of one benchmark in microseconds (reported in ns).
search() { grep "^\"BM_$1_median\"" "$work/search" | cut -d, -f4 | awk '{printf "%.0f", $1 / 1000}'; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f×", a / b}'; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
row() { printf '| %s | %s | %s | %s | %s |\n' "$@"; }

map_p=$(figure "$work/program" map_ms); map_f=$(figure "$work/floor" map_ms)
least_p=$(figure "$work/program" map_ms least); least_f=$(figure "$work/floor" map_ms least)
paint_p=$(figure "$work/program" paint_ms); paint_f=$(figure "$work/floor" paint_ms)
cpu_p=$(figure "$work/program" cpu_ms); cpu_f=$(figure "$work/floor" cpu_ms)
rss_p=$(figure "$work/program" rss_kib); rss_f=$(figure "$work/floor" rss_kib)
anon_p=$(figure "$work/program" anon_kib); anon_f=$(figure "$work/floor" anon_kib)
file_p=$(figure "$work/program" file_kib); file_f=$(figure "$work/floor" file_kib)
map_t=$(figure "$work/text_floor" map_ms); rss_t=$(figure "$work/text_floor" rss_kib)
nopair=$(search Search_FullTableNoPair); floor_loop=$(search Floor_HeightComparisons)
one_height=$(search Search_FullTableOneSexOneHeight); mix=$(search Search_FullTableRealisticMix)

echo "Medians of $runs starts each (start-up) and 3 runs (full table); load average $load_before before, $(load) after."
[ "$failed" = 0 ] || echo "$failed starts showed no window: $(sort -u "$work/errors" | grep -v XDG_RUNTIME | head -3)"
echo "Session bus: $([ "${NO_SESSION_BUS:-0}" = 1 ] && echo none || echo private dbus-daemon)."
echo
echo "Start-up against both floors (empty window; text floor: the same with one Cyrillic label):"
echo
trow() { printf '| %s | %s | %s | %s | %s | %s |\n' "$@"; }
trow figure program "text floor" "empty floor" "program / text floor" target
trow --- --- --- --- --- ---
trow "instructions, process start to map request (callgrind)" "$ins_p M" "$ins_t M" "$ins_f M" \
  "$(ratio "$ins_p" "$ins_t")" "≤ 1.00×"
trow "process start to window mapped (median)" "$map_p ms" "$map_t ms" "$map_f ms" \
  "$(ratio "$map_p" "$map_t")" "(shown)"
trow "resident memory once shown" "$(mib "$rss_p") MiB" "$(mib "$rss_t") MiB" "$(mib "$rss_f") MiB" \
  "+$(mib $((rss_p - rss_t))) MiB" "≤ +1.5 MiB"
echo
row figure program floor ratio target
row --- --- --- --- ---
row "start-up: process start to window mapped" "$map_p ms" "$map_f ms" "$(ratio "$map_p" "$map_f")" "≤ 1.5×"
row "start-up: window mapped, the fastest of the starts" "$least_p ms" "$least_f ms" "$(ratio "$least_p" "$least_f")" "(shown, no target)"
row "start-up: process start to first frame drawn" "$paint_p ms" "$paint_f ms" "$(ratio "$paint_p" "$paint_f")" "(shown, no target)"
row "start-up: processor time, start to stop" "$cpu_p ms" "$cpu_f ms" "$(ratio "$cpu_p" "$cpu_f")" "(shown, no target)"
row "resident memory once shown" "$(mib "$rss_p") MiB" "$(mib "$rss_f") MiB" "+$(mib $((rss_p - rss_f))) MiB" "≤ +6 MiB"
row "… of which anonymous / file-backed" "$(mib "$anon_p") / $(mib "$file_p") MiB" "$(mib "$anon_f") / $(mib "$file_f") MiB" "+$(mib $((anon_p - anon_f))) / +$(mib $((file_p - file_f))) MiB" ""
row "full table: resident memory growth over the empty program" "$(figure "$work/full_table" full_table_growth_kib) KiB" "" "" "< 1024 KiB"
row "… of which from the 1st to the 1001st person" "$(figure "$work/full_table" table_growth_kib) KiB" "" "" ""
row "full table: click on \"Найти\" to first box on screen" "$(figure "$work/full_table" first_box_ms) ms" "" "" "< 16 ms"
row "full table: memory growth over 1,000 boxes dismissed" "$(figure "$work/full_table" boxes_growth_kib) KiB" "" "" "flat"
row "… time per box, and minor page faults per box" "$(figure "$work/full_table" box_ms_each) ms, $(figure "$work/full_table" box_minor_faults_each)" "" "" "(shown)"
row "full table: running on after the application quits at the first report" "$(gone quit)" "" "" "< 1 s"
row "… after the form is closed at the first report" "$(gone close)" "" "" "< 1 s"
row "search: full table, no pair (500,500 comparisons)" "$nopair µs" "$floor_loop µs" "$(ratio "$nopair" "$floor_loop")" "≤ 2×"
row "search: 1001 men of one height, 500,500 reports" "$one_height µs" "$floor_loop µs" "$(ratio "$one_height" "$floor_loop")" "(shown)"
row "search: realistic mix" "$mix µs" "$floor_loop µs" "$(ratio "$mix" "$floor_loop")" "(shown)"
