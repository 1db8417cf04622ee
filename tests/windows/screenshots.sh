# Sourced by run_wine_suite.sh: the Win32 front end under Xvfb. Shows the
# main menu and the "PSETUP" panel with qov-gui-show.exe, takes a screenshot
# of each, and checks that they show pictures, not a blank window.

# Pictures on the CD that a board names and the CD lacks (the stand-in CD
# has none) are made here: plain coloured BMPs, so that the check still
# sees pictures.
add_missing_pictures() {
  local bin=$1 name colour
  local -A colours=([cd_qov.bmp]=steelblue [cd_inst.bmp]=orange [cd_copia.bmp]=gold
    [cd_sair.bmp]=firebrick [btngrd.bmp]=gray40 [cd_actu.bmp]=seagreen [cd_por.bmp]=darkgreen
    [cd_mf.bmp]=purple [cd_ver51.bmp]=teal)
  for name in "${!colours[@]}"; do
    [ -n "$(find "$bin" -maxdepth 1 -iname "$name")" ] && continue
    colour=${colours[$name]}
    if [ "$name" = cd_qov.bmp ]; then
      convert -size 672x544 "gradient:$colour-white" "BMP3:$bin/$name"
    else
      convert -size 160x32 "xc:$colour" -bordercolor black -border 2 "BMP3:$bin/$name"
    fi
  done
}

# The number of colours of an image; a blank window has a handful.
colours_of() { identify -format '%k' "$1"; }

take_screenshots() {
  echo "== the Win32 front end under Xvfb"
  local shots=$work/screenshots display=:$((90 + RANDOM % 400)) i
  mkdir -p "$shots/markers"
  add_missing_pictures "$cd_dir/autorun/bin"
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$shots/xvfb.log" 2>&1 &
  xvfb_pid=$!
  sleep 2
  local show_pid
  (cd "$cd_dir/autorun/bin" && DISPLAY=$display sp2cfg='D:\autorun\bin\qovsp2.cfg' \
    "$wine" "$root/build-windows/tests-windows/qov-gui-show.exe" "$(winname "$shots/markers")" \
    >"$shots/show.log" 2>&1) &
  show_pid=$!
  local board
  for board in main psetup; do
    for i in $(seq 1 90); do
      [ -f "$shots/markers/$board.ready" ] && break
      sleep 1
    done
    if [ ! -f "$shots/markers/$board.ready" ]; then
      fail "Win32 front end: the $board board was never shown"
      touch "$shots/markers/$board.done"
      continue
    fi
    sleep 2
    DISPLAY=$display import -window root "$shots/$board.png"
    touch "$shots/markers/$board.done"
  done
  wait "$show_pid" || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""

  local main_colours psetup_colours difference
  if [ -f "$shots/main.png" ] && [ -f "$shots/psetup.png" ]; then
    main_colours=$(colours_of "$shots/main.png")
    psetup_colours=$(colours_of "$shots/psetup.png")
    difference=$(compare -metric AE "$shots/main.png" "$shots/psetup.png" null: 2>&1 || true)
    if [ "$main_colours" -gt 50 ]; then
      pass "main menu shows its pictures ($main_colours colours): $shots/main.png"
    else
      fail "main menu screenshot looks blank ($main_colours colours)"
    fi
    if [ "$psetup_colours" -gt 50 ] && [ "${difference%% *}" -gt 10000 ]; then
      pass "PSETUP panel shown over the update screen ($psetup_colours colours, $difference pixels differ): $shots/psetup.png"
    else
      fail "PSETUP screenshot looks blank or unchanged ($psetup_colours colours, $difference pixels differ)"
    fi
  fi
}
