#!/usr/bin/env bash
# The Windows build, proven under Wine.
#
#   tests/windows/run_wine_suite.sh
#
# Installs what it needs (tests/windows/windows_packages.sh), makes a fresh
# Wine prefix in a temporary folder, builds the Linux build (build/, for its
# qov-setup and the demo CD) and the Windows build (build-windows/), maps the
# demo CD as drive D: through the prefix's dosdevices, and then:
#   1. runs the checks of the Windows platform layer (qov-windows-tests.exe);
#   2. plays the answer files of tests/windows/answers/ with qov-setup.exe
#      (answer-file back end, Wine's own C: with windir C:\windows, Wine's
#      cmd.exe and regsvr32) and with build/qov-setup on a Linux machine of
#      the same shape; the exit status, the two traces (the GUI and
#      helper-program objects first, then every object), the files left on
#      C: (with the register's bytes) and the output (what the product's
#      batch file printed) must be the same;
#   3. under Xvfb, starts the real qov-setup.exe with the Win32 front end on
#      a machine with a recorded installation ("PSETUP" over the update
#      screen) and on one without (the main menu), saves a screenshot of
#      each, checks that they show the pictures, and closes the window.
# The last line is the summary: "Wine suite: passed ...", "Wine suite:
# FAILED ..." (status 1), or "Wine suite: skipped: ..." (status 0) when Wine
# cannot run programs on this machine.
#
# QOV_DEMO_CD=DIR plays on that CD instead of build/demo-cd. The traces, the
# outputs and the screenshots are kept in build-windows/wine-suite/.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
source tests/windows/windows_packages.sh

started=$SECONDS
summary() { echo "Wine suite: $* ($((SECONDS - started)) s)"; }
skip() {
  summary "skipped: $*"
  exit 0
}
abort() {
  summary "FAILED: $*"
  exit 1
}

ensure_windows_packages || abort "the Debian packages of the Windows suite could not be installed"
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || abort "wine64 is installed but $wine is missing"
wineserver=$(dirname "$wine")/wineserver

work=$(mktemp -d /tmp/qov-wine.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Whether Wine runs programs here at all: a fresh prefix and its cmd.exe.
echo "== a fresh Wine prefix in $WINEPREFIX"
if ! timeout 300 env -u DISPLAY "$wine" wineboot -i >"$work/wineboot.log" 2>&1 ||
  [ "$(timeout 60 env -u DISPLAY "$wine" cmd /c echo ready 2>/dev/null | tr -d '\r')" != ready ]; then
  skip "wine cannot run programs on this machine ($(tail -1 "$work/wineboot.log" 2>/dev/null))"
fi
echo "   $((SECONDS - started)) s"

jobs=$(nproc 2>/dev/null || echo 2)
echo "== building (Linux build/ and Windows build-windows/)"
{ cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  cmake --build build -j "$jobs" --target qov-setup demo_cd; } || abort "the Linux build failed"
{ cmake -S . -B build-windows --no-warn-unused-cli \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null &&
  cmake --build build-windows -j "$jobs"; } || abort "the Windows build failed"
echo "   $((SECONDS - started)) s"
exe=$root/build-windows/qov-setup.exe
checks=$root/build-windows/tests-windows/qov-windows-tests.exe
results=$root/build-windows/wine-suite
rm -rf "$results"
mkdir -p "$results"

failures=0 passes=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() {
  echo "ok: $*"
  passes=$((passes + 1))
}

# Windows name of a host path, through the prefix's Z: (the host's root).
winname() { printf 'Z:%s' "${1//\//\\}"; }

# The host path of BASE/A/B/..., each name matched without regard to case.
host_path() {
  local p=$1 part found
  shift
  for part in "$@"; do
    found=$(find "$p" -mindepth 1 -maxdepth 1 -iname "$part" -print -quit)
    [ -n "$found" ] || return 1
    p=$found
  done
  echo "$p"
}

echo "== checks of the Windows platform layer"
if (cd "$work" && timeout 300 env -u DISPLAY "$wine" "$checks" >"$results/checks.log" 2>&1); then
  pass "qov-windows-tests.exe ($(grep -o '[0-9]* tests from [0-9]* test suites ran' "$results/checks.log"))"
else
  grep -E '^\[  FAILED|Failure|error' "$results/checks.log" | head -20
  fail "qov-windows-tests.exe (log: $results/checks.log)"
fi

# The CD, drive D: of both machines.
cd_dir=$work/cd
cp -r "${QOV_DEMO_CD:-build/demo-cd}" "$cd_dir" 2>/dev/null || abort "no demo CD in ${QOV_DEMO_CD:-build/demo-cd}"
cd_bin=$(host_path "$cd_dir" autorun bin) || abort "the demo CD has no autorun\\bin"
ln -sfn "$cd_dir" "$WINEPREFIX/dosdevices/d:"

# Drive C: of Wine is the prefix's own, with Wine's Windows folder
# (windir C:\windows). The Linux machine gets the same shape: the start
# folder C:\temp, and from Wine's system folder the files the installer
# looks at or copies (msvcrt.dll; either control when Wine has it).
wine_c=$WINEPREFIX/drive_c
wine_system=$(host_path "$wine_c" windows system32) || abort "no system32 folder in the prefix"
[ "$(env -u DISPLAY "$wine" cmd /c echo %windir% | tr -d '\r')" = 'C:\windows' ] ||
  abort "the prefix's windir is not C:\\windows"
mkdir -p "$wine_c/temp"
linux=$work/linux
mkdir -p "$linux/c/windows/system32" "$linux/c/temp"
ln -sfn "$cd_dir" "$linux/d"
own_controls=()
for f in msvcrt.dll comdlg32.ocx mvzipunz.ocx; do
  if own=$(host_path "$wine_system" "$f"); then
    cp "$own" "$linux/c/windows/system32/$(basename "$own")"
    [ "$f" = msvcrt.dll ] || own_controls+=("$f")
  fi
done

# What is on a C: drive apart from the system's own folders: every file
# and folder (names as on disk, files with a checksum), and the two
# controls in the system folder.
system_folder() { [[ "${1,,}" =~ ^(windows|users|program\ files|program\ files\ \(x86\)|programdata)$ ]]; }
snapshot() {
  local c=$1 top f
  {
    for top in "$c"/*; do
      system_folder "$(basename "$top")" || find "$top"
    done
    find "$c/windows/system32" -maxdepth 1 \( -iname comdlg32.ocx -o -iname mvzipunz.ocx \)
  } | while read -r f; do
    if [ -f "$f" ]; then
      echo "${f#"$c"/} $(sha256sum <"$f" | cut -c1-16)"
    else
      echo "${f#"$c"/}/"
    fi
  done | LC_ALL=C sort
}

# Back to the machines as they were: nothing installed, nothing recorded.
forget_installations() {
  local c top f
  for c in "$wine_c" "$linux/c"; do
    for top in "$c"/*; do
      system_folder "$(basename "$top")" || [ "$(basename "$top")" = temp ] || rm -rf "$top"
    done
    for f in comdlg32.ocx mvzipunz.ocx; do
      [[ " ${own_controls[*]} " == *" $f "* ]] ||
        find "$c/windows/system32" -maxdepth 1 -iname "$f" -delete
    done
  done
  rm -rf "$linux/registry"
}

# The objects of a trace, with the text of an extraction failure left out
# (each build words its reasons itself); boundary_objects keeps the GUI and
# helper-program objects only.
trace_objects() { sed -E 's/,"error":"([^"\\]|\\.)*"/,"error":"..."/' "$1"; }
boundary_objects() { grep -E '^\{"call":"(gui|REREDODI|RAVUVU32|release|exit)"' "$1" || true; }

# Whether a line of FILE ends with TEXT (blanks included, taken literally).
ends_a_line() {
  TEXT=$1 awk 'BEGIN { t = ENVIRON["TEXT"] }
    length($0) >= length(t) && substr($0, length($0) - length(t) + 1) == t { found = 1 }
    END { exit !found }' "$2"
}

# play NAME ANSWERS START LAUNCH: START is "cd" (D:\AUTORUN\BIN) or "temp"
# (C:\temp); LAUNCH the folder the product's batch file must run in, or "-"
# when the run starts no product.
play() {
  local name=$1 answers=$root/tests/windows/answers/$2 start=$3 launch=$4 wdir ldir
  local out=$results/$name
  mkdir -p "$out"
  if [ "$start" = cd ]; then
    wdir=$cd_bin ldir=$linux/d/${cd_bin#"$cd_dir"/}
  else
    wdir=$wine_c/temp ldir=$linux/c/temp
  fi
  local wrc=0 lrc=0
  (cd "$wdir" && QOV_GUI_SCRIPT=$(winname "$answers") QOV_TRACE=$(winname "$out/windows.jsonl") \
    timeout 180 env -u DISPLAY "$wine" "$exe" >"$out/windows.out" 2>"$out/windows.err") || wrc=$?
  (cd "$ldir" && QOV_MACHINE=$linux windir='C:\windows' QOV_GUI_SCRIPT=$answers \
    QOV_TRACE=$out/linux.jsonl timeout 180 "$root/build/qov-setup" \
    >"$out/linux.out" 2>"$out/linux.err") || lrc=$?
  touch "$out/windows.jsonl" "$out/linux.jsonl"
  local build
  for build in windows linux; do
    trace_objects "$out/$build.jsonl" >"$out/$build.trace"
    boundary_objects "$out/$build.trace" >"$out/$build.objects"
  done
  snapshot "$wine_c" >"$out/windows.files"
  snapshot "$linux/c" >"$out/linux.files"
  tr -d '\r' <"$out/windows.out" >"$out/windows.lines"

  # The demo batch files print "Demo PRODUCT: a correr em %CD% com cobdir=%cobdir%".
  local printed=" a correr em $launch com cobdir=qovxxx "
  if [ "$wrc" != "$lrc" ]; then
    fail "$name: exit status $wrc on Windows, $lrc on Linux"
    sed 's/^/  windows stderr: /' "$out/windows.err" | head -5
    sed 's/^/  linux stderr: /' "$out/linux.err" | head -5
  elif ! grep -q '"call":"exit"' "$out/windows.objects"; then
    fail "$name: the Windows trace has no exit object (status $wrc)"
    sed 's/^/  windows stderr: /' "$out/windows.err" | head -5
  elif ! diff -u "$out/linux.objects" "$out/windows.objects" >"$out/objects.diff"; then
    fail "$name: the traces differ (GUI and helper-program objects): $out/objects.diff"
    head -20 "$out/objects.diff" | cut -c1-200
  elif ! diff -u "$out/linux.trace" "$out/windows.trace" >"$out/trace.diff"; then
    fail "$name: the traces differ (primitives and record files): $out/trace.diff"
    head -20 "$out/trace.diff" | cut -c1-200
  elif ! diff -u "$out/linux.files" "$out/windows.files" >"$out/files.diff"; then
    fail "$name: the files left on C: differ"
    head -20 "$out/files.diff"
  elif ! diff -u "$out/linux.out" "$out/windows.lines" >"$out/output.diff"; then
    fail "$name: the output differs"
    head -20 "$out/output.diff"
  elif [ "$launch" != - ] && ! ends_a_line "$printed" "$out/windows.lines"; then
    fail "$name: the batch file did not print \"$printed\" (it printed: $(head -3 "$out/windows.lines"))"
  elif [ "$launch" = - ] && [ -s "$out/windows.lines" ]; then
    fail "$name: printed output though no product starts: $(head -3 "$out/windows.lines")"
  else
    pass "$name: exit $wrc, the trace ($(wc -l <"$out/windows.objects") GUI and helper-program objects of $(wc -l <"$out/windows.trace")), $(wc -l <"$out/windows.files") names on C: and the output as on Linux"
    [ "$launch" = - ] || echo "   cmd.exe ran the batch file: \"$(head -1 "$out/windows.lines")\""
  fi
}

echo "== the answer files, on Windows (Wine) and on Linux"
forget_installations
play apl apl.txt cd 'C:\QOV\EMPRESA'
play update update.txt cd 'C:\QOV\EMPRESA'
forget_installations
play pos pos.txt cd 'C:\QOV\POSTO'
forget_installations
play run run.txt cd -
forget_installations
play cancel cancel.txt cd -
forget_installations
play search search.txt temp -

source tests/windows/screenshots.sh
take_screenshots

if [ "$failures" -ne 0 ]; then
  summary "FAILED: $failures of $((passes + failures)) checks (results in $results)"
  exit 1
fi
summary "passed: $passes checks (results and screenshots in $results)"
