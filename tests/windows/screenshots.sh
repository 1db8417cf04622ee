# Sourced by run_wine_suite.sh: the Win32 front end of the real
# qov-setup.exe under Xvfb. On the machine the last scenario left (an
# installation recorded) it shows the update screen with "PSETUP" over it;
# on a machine without one, the main menu. Each is saved as a screenshot in
# $results and checked to show the CD's pictures; then the window is closed
# (WM_CLOSE, as the user would) and the process must end on its own.

main_title="QOV-Software (Setup)"
panel_title="Indique Direct" # " Indique Directório para Actualização:"

# The colours of the CD's bitmaps, except greys (the window's own colours).
picture_palette() {
  local f
  for f in "$cd_bin"/*.[bB][mM][pP]; do
    convert "$f" -format %c histogram:info:-
  done | grep -o '#[0-9A-F]\{6\}' | sort -u |
    awk '{ r = substr($0, 2, 2); g = substr($0, 4, 2); b = substr($0, 6, 2); if (r != g || g != b) print }'
}

# How many of the CD's picture colours cover at least 100 pixels of IMAGE.
picture_colours_in() {
  convert "$1" -format %c histogram:info:- | awk '$1 + 0 >= 100' |
    grep -o '#[0-9A-F]\{6\}' | grep -cFx -f "$work/palette" || true
}

# The X window id of the top-level window whose name holds TEXT.
window_named() {
  DISPLAY=$display xwininfo -root -tree 2>/dev/null | awk -v text="$1" \
    'index($0, "\"") && index($0, text) { print $1; exit }' || true
}

# shoot NAME PANEL: starts qov-setup.exe from D:\AUTORUN\BIN and waits until
# its main window (with PANEL yes, the "PSETUP" window) shows at least three
# of the pictures' colours, each on 100 pixels or more, and stays the same
# for two seconds; saves the screen as $results/NAME.png and the window as
# NAME-window.png, then closes the installer.
shoot() {
  local name=$1 panel=$2 pid id i colours=0 last=""
  local out=$results/gui-$name
  mkdir -p "$out"
  # A Wine session left by the headless runs has no display: start afresh.
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  (cd "$cd_bin" && exec env DISPLAY="$display" QOV_TRACE="$(winname "$out/trace.jsonl")" \
    "$wine" "$exe" >"$out/out.log" 2>"$out/err.log") &
  pid=$!
  for i in $(seq 1 60); do
    sleep 2
    id=$(window_named "$main_title")
    [ "$panel" = no ] || id=$(window_named "$panel_title")
    [ -n "$id" ] || continue
    DISPLAY=$display import -window "$id" "$out/now.png" 2>/dev/null || continue
    colours=$(picture_colours_in "$out/now.png")
    if [ "$colours" -ge 3 ] && [ -n "$last" ] &&
      [ "$(compare -metric AE "$out/now.png" "$last" null: 2>&1 || true)" = 0 ]; then
      break
    fi
    cp "$out/now.png" "$out/last.png"
    last=$out/last.png
  done
  DISPLAY=$display import -window root "$results/$name.png" 2>/dev/null || true
  mv "$out/now.png" "$results/$name-window.png" 2>/dev/null || true
  rm -f "$out/last.png"

  if [ -z "$id" ] && [ "$panel" = yes ]; then
    fail "Win32 front end ($name): no \"PSETUP\" window appeared"
  elif [ -z "$id" ]; then
    fail "Win32 front end ($name): no window \"$main_title\" appeared"
  elif [ "$colours" -lt 3 ]; then
    fail "Win32 front end ($name): the window shows no pictures ($colours picture colours): $results/$name-window.png"
  else
    pass "Win32 front end ($name): the window shows $colours of the pictures' colours: $results/$name.png"
  fi

  # Closing the window gives -5: "PSETUP" leaves to the menus, the main
  # menu leaves the installer.
  for i in $(seq 1 10); do
    kill -0 "$pid" 2>/dev/null || break
    DISPLAY=$display "$wine" taskkill /im qov-setup.exe >/dev/null 2>&1 || true
    sleep 2
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    fail "Win32 front end ($name): closing the window did not end the installer"
  elif ! grep -q '"call":"exit"' "$out/trace.jsonl" 2>/dev/null; then
    fail "Win32 front end ($name): the installer ended without its exit (see $out)"
  else
    pass "Win32 front end ($name): closing the window ended the installer"
  fi
  wait "$pid" 2>/dev/null || true
}

take_screenshots() {
  echo "== the Win32 front end under Xvfb"
  picture_palette >"$work/palette"
  exec 9>"$work/display"
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 9>&-
  local i
  for i in $(seq 1 20); do
    [ -s "$work/display" ] && break
    sleep 0.5
  done
  if [ ! -s "$work/display" ]; then
    fail "Xvfb did not start: $(tail -1 "$work/xvfb.log")"
    return
  fi
  display=:$(head -1 "$work/display")

  shoot psetup yes
  forget_installations
  shoot main no

  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
}
