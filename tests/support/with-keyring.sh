#!/usr/bin/env bash
# Runs a test program in a private D-Bus session with an unlocked GNOME Keyring, in a scratch
# home, so that no test reaches the desktop's own keyring. Where the session cannot start the
# program runs without it and its keyring tests skip, saying so.
# Usage: with-keyring.sh PROGRAM [ARGS...]
set -u
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
export HOME="$home" XDG_RUNTIME_DIR="$home/run" XDG_DATA_HOME="$home/data" ZORVANE_TEST_KEYRING=1
if ! command -v dbus-run-session > /dev/null || ! command -v gnome-keyring-daemon > /dev/null; then
  echo "notice: dbus-run-session or gnome-keyring-daemon is missing; the Secret Service tests skip"
  exec env -u DBUS_SESSION_BUS_ADDRESS "$@"
fi
exec dbus-run-session -- bash -c '
  printf zorvane-test | gnome-keyring-daemon --unlock --components=secrets > /dev/null 2>&1 ||
    echo "notice: gnome-keyring-daemon did not start; the Secret Service tests skip"
  exec "$@"' keyring "$@" 2> >(grep -v "Failed to set fd limit" >&2)
