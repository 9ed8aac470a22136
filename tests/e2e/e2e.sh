#!/usr/bin/env bash
# Drives the real client under Xvfb against the stand-in portal as a person would: mouse
# clicks and typed keys only. Each outcome is checked in the stand-in's request log and
# state and in the program directory's files; a screenshot is saved at each step.
# Usage: e2e.sh [build-dir]
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
shots="$build/e2e-screenshots"
rm -rf "$shots"
mkdir -p "$shots"

. "$root/scripts/lib/session.sh"
prog="$work/program"
cp -r "$build/program" "$prog"
rm -f "$prog/phonebook.dat" "$prog/Skins/gonggao.png"
log="$work/requests.log"
state="$work/state.txt"
geo="$work/geometry.txt"
. "$root/tests/e2e/drive.sh"
# The client's socket stays inside this run, and so does its keyring: there is none.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
unset DBUS_SESSION_BUS_ADDRESS

stepno=0
step() {
  stepno=$((stepno + 1))
  echo "step $stepno: $*"
}
shot() { import -window root "$shots/$(printf '%02d' "$stepno")-$1.png" 2>/dev/null || true; }
in_log() { grep -qF -- "$1" "$log" 2>/dev/null; }
in_state() { grep -qF -- "$1" "$state" 2>/dev/null; }
not_in_state() { ! grep -qF -- "$1" "$state" 2>/dev/null; }
dclick() {
  local r
  r=$(rect "$1") || return 1
  set -- $r
  xdotool mousemove $(($1 + $3 / 2)) $(($2 + $4 / 2)) click --repeat 2 --delay 80 1
  sleep 0.3
}
answer_box() { # a message box is up: press its default button
  until_true 8 window_shown QMessageBox || return 1
  shot message
  key Return
  until_true 5 window_gone QMessageBox
}
second_start() { # arguments: starts the client again as a browser would; its exit code
  local p rc
  "$prog/zorvane" "$@" > "$work/second.log" 2>&1 &
  p=$!
  timeout 10 tail --pid="$p" -f /dev/null
  wait "$p"
  rc=$?
  echo "$rc"
}
# The child window's frame lies where the placement rule puts it by the outer sizes (frames
# included) of child and parent on the 1024 by 768 screen: centred over the parent, its top
# centred on the screen, never past an edge.
placed_near() { # child, parent
  local c p
  c=$(grep "^window:$1 " "$geo" | head -1) && p=$(grep "^window:$2 " "$geo" | head -1) || return 1
  set -- ${c#* } ${p#* } # child x y w h, parent x y w h
  local twice=$((2 * $5 - ($3 - $7))) x
  if [ "$twice" -ge 0 ]; then x=$((twice / 2)); else x=$5; fi
  [ "$x" -gt $((1024 - $3)) ] && x=$((1024 - $3))
  [ "$x" -lt 0 ] && x=0
  local y=$(((768 - $4) / 2))
  [ "$y" -lt 0 ] && y=0
  [ "$1" -eq "$x" ] && [ "$2" -eq "$y" ] || {
    echo "  (at $1,$2 ${3}x$4, expected $x,$y; parent at $5,$6 ${7}x$8)"
    return 1
  }
}
main_windows() { xdotool search --onlyvisible --name 'Zorvane系统' 2>/dev/null | wc -l; }
callee_is() { grep -qxF "text:编辑框_被叫号码 $1" "$geo" 2>/dev/null; }
# The stand-in portal, the display with a window manager and a notification area, the client.
start_portal --log-file "$log" --state-file "$state" || exit 1
python3 "$root/scripts/lib/set-server.py" "$prog/config.ini" "127.0.0.1:$port"

start_display $((200 + RANDOM % 100)) || exit 1
HOME="$work" icewm > "$work/wm.log" 2>&1 &
pids+=($!)
sleep 1.5
ZORVANE_GEOMETRY_FILE="$geo" "$prog/zorvane" > "$work/client.log" 2>&1 &
client=$!
pids+=($client)

sign_in() { # password
  until_true 15 window_shown LoginWindow || return 1
  until_true 10 test "$(captchas)" -gt "$1" || return 1
  click 编辑框_用户 && key ctrl+a && type_text "$account"
  click 编辑框_密码 && key ctrl+a && type_text "$2"
  click 编辑框_验证码 && type_text "$(captcha)"
  shot login
  click 按钮_登录
  until_true 10 window_gone LoginWindow
}

step "sign in with the account, the password and the captcha's digits"
check "the login window closes after the sign-in" sign_in 0 "$password"
check "the portal saw the login" in_log "POST /views/customer.mvc?method=login HTTP/1.1 j_username=$account&j_password=$password"
check "the account page was read for the overview" in_log "GET /views/myzorvane/main.jsp"
check "the browser control opened the account page" until_true 5 in_log "GET /views/customer.mvc?method=show"
sleep 0.5
shot signed-in

step "read the balance on the dialling tab"
check "the balance label is on the screen" until_true 5 grep -q '^标签_余额 ' "$geo"
check "the forwarding page was read" in_log "GET /views/phoneno.mvc?method=index"
shot balance

step "dial a number from the keypad"
for d in 1 3 9 0 0 0 0 1 1 1 1; do click "按钮_$d"; done
click 按钮_拨打
check "the outcome is told in a message box" answer_box
check "the portal set up the call" until_true 5 in_state "13812345678>13900001111"

step "import a phone book"
printf '\xd5\xc5\xc8\xfd=13700000001\r\n\xc0\xee\xcb\xc4=13700000002\r\nbad line\r\n' > "$work/contacts.txt"
click 按钮_电话簿
check "the phone book opens" until_true 5 window_shown PhoneBookWindow
check "it is centred over the main window by the outer sizes" until_true 3 placed_near PhoneBookWindow MainWindow
click PhoneBookWindow/超级列表框_联系人
key alt+e s
check "the format is explained first" answer_box
check "the file dialog opens" until_true 8 window_shown QFileDialog
type_text "$work/contacts.txt"
key Return
check "the file dialog closes" until_true 5 window_gone QFileDialog
check "phonebook.dat holds the imported contacts" until_true 5 grep -q 'phonenumber=13700000002' "$prog/phonebook.dat"
check "the list shows them" until_true 5 grep -q '^超级列表框_联系人#1 ' "$geo"
shot phonebook

step "dial from the phone book"
dclick '超级列表框_联系人#0'
check "the phone book closes" until_true 5 window_gone PhoneBookWindow
click 按钮_拨打
check "the outcome is told" answer_box
check "the portal set up the call to the contact" until_true 5 in_state ">13700000001"

step "a tel: link on a web page hands its number to the running client"
check "the second start ends with 0" test "$(second_start 'tel:+86-571-8877-6655')" = 0
check "no second window opened" test "$(main_windows)" = 1
check "the number is in the callee box" until_true 5 callee_is 057188776655
check "the call is asked about first" until_true 8 grep -qxF 'text:QMessageBox 确认拨打？' "$geo"
check "nothing was dialled before the answer" not_in_state ">057188776655"
shot asked
key Return # the question's default button is Yes
check "Yes places the call, and the portal sets it up" until_true 5 in_state ">057188776655"
check "the outcome is told" until_true 8 grep -qF 'text:QMessageBox 拨打成功' "$geo"
check "it is answered" answer_box

step "a tel: link without a number says so and changes nothing"
check "the second start ends with 0" test "$(second_start 'tel:0571-CALL-NOW')" = 0
check "the message says why" until_true 8 grep -qF 'text:QMessageBox 无法拨打' "$geo"
check "it is answered" answer_box
check "the callee box kept its number" callee_is 057188776655
check "no second window opened" test "$(main_windows)" = 1

step "add a forwarding number"
click '选择夹#2'
click 编辑框_转接号码 && type_text 13900003333
click 编辑框_备注 && type_text e2e
click 按钮_转接
check "the add is confirmed" answer_box
check "the portal holds the new number with its memo" until_true 5 in_state "13900003333:e2e"
check "the list shows three numbers" until_true 5 grep -q '^列表框_转接号码#2 ' "$geo"
shot added

step "edit it"
click '列表框_转接号码#2'
click 按钮_编辑
check "the edit window opens" until_true 5 window_shown ForwardEditWindow
check "it is centred over the main window by the outer sizes" until_true 3 placed_near ForwardEditWindow MainWindow
click ForwardEditWindow/编辑框_转接号码 && key ctrl+a && type_text 13900004444
shot editing
click ForwardEditWindow/按钮1
check "the portal holds the changed number" until_true 5 in_state "13900004444:e2e"
check "the edit window closes" until_true 5 window_gone ForwardEditWindow

step "move it to the top, then the last one up"
sleep 0.5
click '列表框_转接号码#2'
click 按钮_置顶
check "it is first at the portal" until_true 5 in_state "forwards=13900004444:"
sleep 0.5
click '列表框_转接号码#2'
click 按钮_上移
check "the last moved up one place" until_true 5 grep -qE 'forwards=13900004444:e2e,057187654321:' "$state"
shot reordered

step "delete it"
sleep 0.5
click '列表框_转接号码#0'
click 按钮_删除
check "the deletion is asked first" answer_box
check "the portal no longer holds it" until_true 5 not_in_state "13900004444"
check "the removal used the two-slash path" in_log "POST //views/phoneno.mvc?method=removeAll"

step "submit the forwarding options"
click 组合框_接听方式
sleep 0.4
key Down Return
click 按钮_提交设置参数
check "the outcome is told" answer_box
check "the portal stored do-not-disturb" until_true 5 in_state "settings=1111011"

step "change the password"
click 编辑框_旧密码 && type_text "$password"
click 编辑框_新密码 && type_text newpass9
click 编辑框_确认新密码 && type_text newpass9
click 按钮_修改密码
check "the outcome is told" answer_box
check "the portal has the new password" until_true 5 in_state "password=newpass9"
grep -q 'pass=' "$prog/config.ini" && before_pass=$(grep 'pass=' "$prog/config.ini") || before_pass=""

step "sign in again with the new password"
click_at 20 20 # the main window's menu is reached by its key, as a person would
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name 'Zorvane系统' | head -1)" 2>/dev/null || true
key alt+p c
n=$(captchas)
check "the login window opens again" until_true 5 window_shown LoginWindow
check "the sign-in with the new password succeeds" sign_in $((n - 1)) newpass9
check "the portal saw it" in_log "j_password=newpass9&j_captcha_response="

step "hide to the tray and come back"
main_id=$(xdotool search --onlyvisible --name 'Zorvane系统' | head -1)
xdotool windowminimize "$main_id"
check "minimising hides the window" until_true 5 bash -c "! xdotool search --onlyvisible --name 'Zorvane系统' >/dev/null 2>&1"
shot in-tray
tray_icon() { # the client's icon in the notification area
  for w in $(xdotool search --pid "$client" 2>/dev/null); do
    local g
    g=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: //p')
    case "$g" in 1[0-9]x1[0-9]|2[0-9]x2[0-9]|3[0-2]x3[0-2])
      xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' && { echo "$w"; return 0; } ;;
    esac
  done
  return 1
}
icon=$(until_true 5 tray_icon && tray_icon)
if [ -n "$icon" ]; then
  eval "$(xdotool getwindowgeometry --shell "$icon")"
  click_at $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
fi
check "a click on the tray icon brings it back" until_true 5 bash -c "xdotool search --onlyvisible --name 'Zorvane系统' >/dev/null 2>&1"
shot back

step "pick a skin"
sleep 0.5
click 图形按钮1
check "the skin window opens" until_true 5 window_shown SkinWindow
r=$(rect SkinWindow/组合框_皮肤选择)
set -- $r
click_at $(($1 + $3 - 8)) $(($2 + $4 / 2))
sleep 0.4
key Down Return
check "the choice is saved in config.ini" until_true 5 grep -qE 'skinF=[a-z]+\.she' "$prog/config.ini"
shot skin
click 选择夹 # back on the main window: the panel closes when it loses activation
check "the skin window closes when left" until_true 5 window_gone SkinWindow
shot skinned

check "the client is still running" kill -0 "$client"
echo "screenshots: $shots"
echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
