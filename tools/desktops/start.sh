#!/usr/bin/env bash
# Starts a headless desktop to try the program on by hand, and keeps it
# running until killed:
#   tools/desktops/start.sh gnome|kwin FOLDER
# FOLDER receives `env` (DISPLAY, WAYLAND_DISPLAY, DBUS_SESSION_BUS_ADDRESS,
# XDG_RUNTIME_DIR, HOME for that session: `. FOLDER/env` before starting the
# program or xdotool) and the desktop's log. Packages: scripts/deps.sh desktops.
#
# GNOME Shell: its Eval interface is opened by a small extension, so that
#   gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell \
#       -m org.gnome.Shell.Eval 'global.get_window_actors().map(a => a.meta_window.title)'
# lists windows (and moves, activates, launches...).
# KWin: its scripting lists windows (tools/desktops/kwin-windows.sh).
set -euo pipefail
kind=${1:?gnome or kwin}
out=$(realpath -m "${2:?a folder for env and logs}")
mkdir -p "$out/runtime" "$out/home"
chmod 700 "$out/runtime"
mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
export XDG_RUNTIME_DIR=$out/runtime HOME=$out/home XDG_CONFIG_HOME=$out/home/.config
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
here=$(dirname "$(realpath "$0")")

# What the session's programs need, written once the desktop is up.
cat > "$out/session.sh" <<'INNER'
#!/usr/bin/env bash
{ echo "export DISPLAY=$DISPLAY WAYLAND_DISPLAY=$WAYLAND_DISPLAY"
  echo "export DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR"
  echo "export HOME=$HOME XDG_CONFIG_HOME=$XDG_CONFIG_HOME XDG_SESSION_TYPE=wayland"
  echo "export XDG_CURRENT_DESKTOP=$XDG_CURRENT_DESKTOP XAUTHORITY=${XAUTHORITY:-}"; } > "$1.tmp"
mv "$1.tmp" "$1"
exec sleep infinity
INNER
chmod +x "$out/session.sh"

case $kind in
gnome)
  # A system bus of its own: GNOME Shell will not start without one.
  dbus-daemon --session --fork --print-address=3 3>"$out/system-bus" \
    --address="unix:path=$out/runtime/system_bus_socket"
  export DBUS_SYSTEM_BUS_ADDRESS=$(cat "$out/system-bus")
  ext=$HOME/.local/share/gnome-shell/extensions/unsafe@vokabo.example
  mkdir -p "$ext"
  echo '{"uuid": "unsafe@vokabo.example", "name": "unsafe", "description": "Eval for tests",
         "shell-version": ["43"]}' > "$ext/metadata.json"
  echo 'function init() { return { enable() { global.context.unsafe_mode = true; },
         disable() {} }; }' > "$ext/extension.js"
  export XDG_CURRENT_DESKTOP=GNOME
  # Settings go through dconf's service on the session bus, as in a GNOME
  # session (gsettings set org.gnome.desktop.notifications show-banners false
  # is its "do not disturb").
  exec dbus-run-session -- bash -c '
    gsettings set org.gnome.shell enabled-extensions "[\"unsafe@vokabo.example\"]"
    gnome-shell --headless --wayland --virtual-monitor 1024x768 > "$0/desktop.log" 2>&1 &
    for _ in $(seq 100); do
      [ -n "$(ls "$XDG_RUNTIME_DIR" | grep -m1 "^wayland-[0-9]*$")" ] && break; sleep 0.2; done
    export WAYLAND_DISPLAY=$(ls "$XDG_RUNTIME_DIR" | grep -m1 "^wayland-[0-9]*$")
    # XWayland starts when the first X program comes; its display is the
    # one GNOME Shell hands to the programs it starts.
    shell_env() {
      gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.gnome.Shell.Eval \
        "imports.gi.GLib.getenv(\"$1\")" 2>/dev/null | sed -n "s/^(true, .\"\(.*\)\".)\$/\1/p"; }
    for _ in $(seq 100); do
      DISPLAY=$(shell_env DISPLAY) && [ -n "$DISPLAY" ] && break; sleep 0.2; done
    export XAUTHORITY=$(shell_env XAUTHORITY)
    # GNOME Shell starts in its overview, where no window takes the keyboard.
    gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.gnome.Shell.Eval \
      "Main.overview.hide()" > /dev/null
    export DISPLAY
    exec "$0/session.sh" "$0/env"' "$out"
  ;;
kwin)
  # The installed binary carries file capabilities that root in a container
  # may not take; a copy keeps the name KWin looks for.
  mkdir -p "$out/bin" && cp /usr/bin/kwin_wayland "$out/bin/kwin_wayland"
  export KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1
  export XDG_CURRENT_DESKTOP=KDE
  exec dbus-run-session -- "$out/bin/kwin_wayland" --virtual --xwayland --width 1024 \
    --height 768 --exit-with-session "$out/session.sh $out/env" > "$out/desktop.log" 2>&1
  ;;
*) echo "gnome or kwin" >&2; exit 2 ;;
esac
