# Sourced by the benchmark scripts: starts an X server of their own with a
# black root window that keeps running between clients (no reset while the
# next program connects), sets DISPLAY to it and xvfb_pid to its process.
# $work must name a folder for its files.
start_x_server() {
  exec 5>"$work/display"
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -br -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$work/display")"
}
