# Helpers for scripts that show the program on a virtual X server. Source it.

# Starts Xvfb on a display number it picks itself (so that parallel runs do
# not collide) and exports DISPLAY. Stop it with stop_virtual_display.
start_virtual_display() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
  virtual_display_pid=$!
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
  done
  [ -s "$number_file" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(cat "$number_file")"
  rm -f "$number_file"
}

stop_virtual_display() {
  if [ -n "${virtual_display_pid:-}" ]; then
    kill "$virtual_display_pid" 2>/dev/null || true
    wait "$virtual_display_pid" 2>/dev/null || true
    virtual_display_pid=
  fi
}

# Waits up to 20 seconds for a top-level window with this title to be mapped
# and viewable; prints its window id.
wait_for_window() {
  local title=$1 info
  for _ in $(seq 200); do
    if info=$(xwininfo -name "$title" 2>/dev/null) && grep -q 'Map State: IsViewable' <<<"$info"; then
      awk '/Window id:/ {print $4}' <<<"$info"
      return 0
    fi
    sleep 0.1
  done
  echo "no viewable window \"$title\" within 20 seconds" >&2
  return 1
}

# Prints the size of a window in the X server's pixels, as WIDTHxHEIGHT.
window_size() {
  xwininfo -id "$1" | awk '/^ +Width:/ {w=$2} /^ +Height:/ {h=$2} END {print w "x" h}'
}
