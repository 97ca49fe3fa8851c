#!/usr/bin/env bash
# Lists the windows of a desktop that start.sh started, as the desktop sees
# them, one JSON object a line, bottom to top: title, outer frame, whether it
# has the keyboard, is minimised or kept above.
#   tools/desktops/windows.sh FOLDER
set -euo pipefail
out=$(realpath "${1:?the folder start.sh was given}")
. "$out/env"
case $XDG_CURRENT_DESKTOP in
GNOME)
  gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.gnome.Shell.Eval '
    global.get_window_actors().map(a => a.meta_window).map(w => { const r = w.get_frame_rect();
      return JSON.stringify({title: w.title, x: r.x, y: r.y, w: r.width, h: r.height,
        focus: w.has_focus(), minimized: w.minimized, above: w.is_above(),
        attention: w.demands_attention}); }).join(String.fromCharCode(10))' |
    python3 -c 'import ast, json, sys
ok, text = ast.literal_eval(sys.stdin.read().replace("(true,", "(True,", 1).replace("(false,", "(False,", 1))
print(json.loads(text) if ok else text)'
  ;;
KDE)
  tag=windows$$
  js=$(mktemp --suffix=.js)
  cat > "$js" <<JS
const active = workspace.activeClient;
for (const c of workspace.clientList())
  print("$tag " + JSON.stringify({title: c.caption, x: c.frameGeometry.x, y: c.frameGeometry.y,
    w: c.frameGeometry.width, h: c.frameGeometry.height, focus: c === active,
    minimized: c.minimized, above: c.keepAbove, stacking: c.stackingOrder}));
JS
  id=$(gdbus call --session -d org.kde.KWin -o /Scripting \
         -m org.kde.kwin.Scripting.loadScript "$js" "$tag" | grep -o '[0-9]\+')
  gdbus call --session -d org.kde.KWin -o "/$id" -m org.kde.kwin.Script.run >/dev/null
  sleep 0.5
  grep -a "$tag " "$out/desktop.log" | sed "s/.*$tag //"
  gdbus call --session -d org.kde.KWin -o /Scripting \
    -m org.kde.kwin.Scripting.unloadScript "$tag" >/dev/null
  rm -f "$js"
  ;;
esac
