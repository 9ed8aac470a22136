#!/usr/bin/env bash
# The package and the installed client: builds the .deb, installs the project into a scratch
# root, validates the desktop entry and the metadata, then runs the installed client under
# Xvfb with HOME and the XDG folders in a scratch folder, signs in with "记住密码" ticked and
# checks where the files went and that nothing was written under the install root.
# Usage: installed.sh [build-dir]
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
. "$root/scripts/lib/session.sh"
geo="$work/geometry.txt"
. "$root/tests/e2e/drive.sh"
id=$(sed -n 's/.*kApplicationId = "\([^"]*\)".*/\1/p' "$root/store/names.h")

echo "package:"
(cd "$build" && cpack -G DEB > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$build"/zorvane_*.deb | head -1)
echo "  $deb"
dpkg-deb -f "$deb" Depends | sed 's/^/  /'
dest="$work/root"
DESTDIR="$dest" cmake --install "$build" --prefix /usr > "$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
installed_files() { (cd "$dest" && find . -type f | sort); }
check "the package holds what the install rules install" \
  diff <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort) <(installed_files)
check "the desktop entry is valid" desktop-file-validate "$dest/usr/share/applications/$id.desktop"
check "the metadata is valid" appstreamcli validate --no-net --no-color "$dest/usr/share/metainfo/$id.metainfo.xml"
check "the desktop entry dials tel: and callto: links" \
  grep -qx 'MimeType=x-scheme-handler/tel;x-scheme-handler/callto;' "$dest/usr/share/applications/$id.desktop"
for f in scalable/apps/$id.svg 48x48/apps/$id.png 256x256/apps/$id.png; do
  check "the icon $f" test -s "$dest/usr/share/icons/hicolor/$f"
done
snapshot() { (cd "$dest" && find . -printf '%p %s %m %T@\n' | sort); }
snapshot > "$work/before.txt"

echo "the installed client, signed in with the password remembered:"
home="$work/home"
mkdir -p "$home"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/data"
unset XDG_RUNTIME_DIR DBUS_SESSION_BUS_ADDRESS # the socket's own folder; no keyring: the scramble
user_config="$XDG_CONFIG_HOME/zorvane/config.ini"
start_portal || exit 1
# A user's own "server" points the installed client at the stand-in.
mkdir -p "$XDG_CONFIG_HOME/zorvane"
python3 "$root/scripts/lib/set-server.py" "$user_config" "127.0.0.1:$port"
start_display $((300 + RANDOM % 100)) || exit 1
ZORVANE_GEOMETRY_FILE="$geo" "$dest/usr/bin/zorvane" > "$work/client.log" 2>&1 &
client=$!
pids+=($client)
check "the login window opens" until_true 15 window_shown LoginWindow
until_true 10 test "$(captchas)" -gt 0
click 编辑框_用户 && key ctrl+a && type_text "$account"
click 编辑框_密码 && type_text "$password"
click 编辑框_验证码 && type_text "$(captcha)"
click 选择框_记住密码
import -window root "$build/installed-login.png" 2> /dev/null || true
click 按钮_登录
check "the sign-in succeeds" until_true 10 window_gone LoginWindow
check "the main window shows" until_true 5 window_shown MainWindow
setting() { grep -a "^$1=" "$user_config" | tr -d '\r'; }
check "the sign-in is remembered in the XDG folder" test "$(setting selected)" = "selected=1"
check "with the account" test "$(setting user)" = "user=$account"
check "and the password, scrambled, as no keyring runs" grep -aqE '^pass=[A-Za-z0-9]{2,}' "$user_config"
check "the folder is the user's alone (0700)" test "$(stat -c %a "$XDG_CONFIG_HOME/zorvane")" = 700
check "the file is the user's alone (0600)" test "$(stat -c %a "$user_config")" = 600
check "the banner is in the XDG cache" test -f "$XDG_CACHE_HOME/zorvane/gonggao.png"
check "the user's skins folder is there" test -d "$XDG_DATA_HOME/zorvane/Skins"
check "the installation's texts stay out of the user's file" bash -c "! grep -aqi '^\[about\]' '$user_config'"
kill "$client" 2> /dev/null
wait "$client" 2> /dev/null
rm -f "/tmp/zorvane-$(id -u)/zorvane-${DISPLAY//:/_}".socket*
snapshot > "$work/after.txt"
check "nothing was written under the install root" diff "$work/before.txt" "$work/after.txt"
echo "install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
