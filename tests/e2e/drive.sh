# Shared by the end-to-end run and the installed client's check: drives the client by the
# places of its controls, as a person would. Source it after session.sh and after setting
# "geo" (the geometry report's file) and "work".

passed=0
failed=0
check() { # description, then a command that must succeed
  local what="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "  ok    $what"
  else
    failed=$((failed + 1))
    echo "  FAIL  $what"
  fi
}
until_true() { # seconds, command...
  local limit=$(($1 * 10))
  shift
  for _ in $(seq "$limit"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
window_shown() { grep -q "^window:$1 " "$geo" 2>/dev/null; }
window_gone() { ! window_shown "$1"; }
rect() { # name -> "x y w h" of its latest place
  local line=""
  until_true 5 grep -q "^$1 " "$geo" || return 1
  line=$(grep "^$1 " "$geo" | head -1)
  echo "${line#* }"
}
click_at() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep 0.25; }
click() { # name [button]: the centre of the control
  local r
  r=$(rect "$1") || { echo "  (no control $1 on the screen)"; return 1; }
  set -- "$1" "${2:-1}" $r
  click_at $(($3 + $5 / 2)) $(($4 + $6 / 2)) "$2"
}
type_text() { xdotool type --delay 25 -- "$1"; sleep 0.15; }
key() { xdotool key --delay 60 "$@"; sleep 0.25; }
captcha() { sed -n 's/^captcha: //p' "$work/portal.log" | tail -1; }
captchas() {
  local n
  n=$(grep -c '^captcha:' "$work/portal.log" 2>/dev/null)
  echo "${n:-0}"
}

