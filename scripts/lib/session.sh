# Shared by run.sh and the end-to-end run: a work folder cleaned up at exit, the stand-in
# portal, a virtual display. Source it after setting "build".

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Starts the stand-in portal with the given options; sets port, account and password.
start_portal() {
  "$build/devportal/zorvane-devportal" --port 0 "$@" > "$work/portal.log" &
  pids+=($!)
  for _ in $(seq 100); do grep -q '^password:' "$work/portal.log" 2>/dev/null && break; sleep 0.1; done
  port=$(sed -n 's/^port: //p' "$work/portal.log")
  account=$(sed -n 's/^account: //p' "$work/portal.log")
  password=$(sed -n 's/^password: //p' "$work/portal.log")
  [ -n "$port" ] || { echo "the stand-in portal did not start" >&2; return 1; }
}

# Starts Xvfb on a free display from the given number on, and exports DISPLAY.
start_display() {
  local n="$1"
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
  pids+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo > /dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}
