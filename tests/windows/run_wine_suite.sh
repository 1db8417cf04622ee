#!/usr/bin/env bash
# The Windows build, proven under Wine.
#
#   tests/windows/run_wine_suite.sh
#
# Installs what it needs (tests/windows/windows_packages.sh), builds the Linux
# build (build/) and the Windows build (build-windows/), makes a fresh Wine
# prefix in a temporary folder with the demo CD as drive D:, and then:
#   1. runs the checks of the Windows platform layer (qov-windows-tests.exe);
#   2. plays the answer files of tests/windows/answers/ with qov-setup.exe
#      (headless, answer-file back end) and with build/qov-setup on a Linux
#      machine of the same shape, and compares the GUI and helper-program
#      objects of the two traces, the exit codes, and the files and register
#      bytes left on C:;
#   3. under Xvfb, starts the Win32 front end and takes screenshots of the
#      main menu and of the "PSETUP" panel, checking that they show pictures.
# Ends with status 0 when all passed, 1 otherwise; prints "skipped: ..." and
# ends with 0 when Wine cannot run on this machine.
#
# QOV_DEMO_CD=DIR uses that CD instead of build/demo-cd; QOV_KEEP=1 keeps the
# temporary folder (traces, screenshots) and prints its name.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
source tests/windows/windows_packages.sh

skip() {
  echo "skipped: $*"
  exit 0
}

started=$SECONDS
if ! ensure_windows_packages; then
  skip "the Debian packages of the Windows suite could not be installed"
fi
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || skip "no wine64 on this machine"

jobs=$(nproc 2>/dev/null || echo 2)
echo "== building (Linux build/ and Windows build-windows/)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
linux_targets=(qov-setup)
if cmake --build build --target help | grep -q '^\.\.\. demo_cd$'; then
  linux_targets+=(demo_cd)
fi
cmake --build build -j "$jobs" --target "${linux_targets[@]}"
cmake -S . -B build-windows --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-windows -j "$jobs"
exe=$root/build-windows/qov-setup.exe
checks=$root/build-windows/tests-windows/qov-windows-tests.exe

work=$(mktemp -d /tmp/qov-wine.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  "$(dirname "$wine")/wineserver" -k 2>/dev/null || wineserver -k 2>/dev/null || true
  if [ "${QOV_KEEP:-}" = 1 ]; then echo "kept: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

echo "== a fresh Wine prefix in $WINEPREFIX"
if ! timeout 300 env -u DISPLAY "$wine" wineboot -i >"$work/wineboot.log" 2>&1 ||
  [ "$(timeout 60 env -u DISPLAY "$wine" cmd /c echo ready 2>/dev/null | tr -d '\r')" != ready ]; then
  skip "wine cannot run on this machine ($(tail -1 "$work/wineboot.log" 2>/dev/null))"
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Windows name of a host path, through the prefix's Z: (the host's root).
winname() { printf 'Z:%s' "${1//\//\\}"; }

echo "== checks of the Windows platform layer"
if (cd "$work" && env -u DISPLAY "$wine" "$checks" >"$work/checks.log" 2>&1); then
  pass "qov-windows-tests.exe ($(grep -o '[0-9]* tests from [0-9]* test suites ran' "$work/checks.log"))"
else
  cat "$work/checks.log"
  fail "qov-windows-tests.exe"
fi

# The CD: the demo CD of the Linux build, or a small stand-in holding what
# start-up and the screens read.
cd_dir=$work/cd
if [ -n "${QOV_DEMO_CD:-}" ] || [ -d build/demo-cd ]; then
  cp -r "${QOV_DEMO_CD:-build/demo-cd}" "$cd_dir"
  echo "== CD: ${QOV_DEMO_CD:-build/demo-cd}"
else
  echo "== CD: a stand-in (no demo CD in build/demo-cd)"
  mkdir -p "$cd_dir/autorun/bin"
  for f in setup.exe comdlg32.ocx mvzipunz.ocx qovsp2.cfg qovqpr.cfg; do
    echo "demo content: $f" >"$cd_dir/autorun/bin/$f"
  done
fi
ln -sfn "$cd_dir" "$WINEPREFIX/dosdevices/d:"
wine_c=$WINEPREFIX/drive_c
mkdir -p "$wine_c/temp"

# The Linux machine of the same shape: D: the same CD, C: with the Windows
# folder and msvcrt.dll, windir as on Wine.
linux=$work/linux
mkdir -p "$linux/c/windows/system32" "$linux/c/temp"
cp "$wine_c/windows/system32/msvcrt.dll" "$linux/c/windows/system32/msvcrt.dll"
ln -sfn "$cd_dir" "$linux/d"

# What the installer leaves on a C: drive: the run-time folders, the target
# folders and the system controls, as "name checksum" lines with the names in
# lower case (Windows names are matched without regard to case).
snapshot() {
  local c=$1
  (cd "$c" && find . -maxdepth 1 \( -iname 'qovexe*' -o -iname qov \) -print0 |
    xargs -0r find | sort -f
  find windows/system32 -maxdepth 1 \( -iname comdlg32.ocx -o -iname mvzipunz.ocx \) 2>/dev/null) |
    sed 's#^\./##' | while read -r f; do
      if [ -f "$c/$f" ]; then
        echo "$(echo "$f" | tr 'A-Z' 'a-z') $(sha256sum <"$c/$f" | cut -c1-16)"
      else
        echo "$(echo "$f" | tr 'A-Z' 'a-z')/"
      fi
    done | sort
}

forget_installations() {
  local c
  for c in "$wine_c" "$linux/c"; do
    (cd "$c" && find . -maxdepth 1 \( -iname 'qovexe*' -o -iname qov \) -exec rm -rf {} +
    find windows/system32 -maxdepth 1 \( -iname comdlg32.ocx -o -iname mvzipunz.ocx \) -delete)
  done
  rm -rf "$linux/registry"
}

# The GUI and helper-program objects of a trace, with the text of an
# extraction failure left out (each build words its reasons itself).
boundary_objects() {
  grep -E '^\{"call":"(gui|REREDODI|RAVUVU32|release|exit)"' "$1" |
    sed -E 's/,"error":"([^"\\]|\\.)*"/,"error":"..."/'
}

# play NAME ANSWERS START: START is "cd" (D:\autorun\bin) or "temp" (C:\temp).
play() {
  local name=$1 answers=$root/tests/windows/answers/$2 start=$3 wdir ldir
  local out=$work/runs/$name
  mkdir -p "$out"
  if [ "$start" = cd ]; then
    wdir=$cd_dir/autorun/bin ldir=$linux/d/autorun/bin
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
  boundary_objects "$out/windows.jsonl" >"$out/windows.objects"
  boundary_objects "$out/linux.jsonl" >"$out/linux.objects"
  snapshot "$wine_c" >"$out/windows.files"
  snapshot "$linux/c" >"$out/linux.files"

  local objects
  objects=$(wc -l <"$out/windows.objects")
  if [ "$wrc" != "$lrc" ]; then
    fail "$name: exit status $wrc on Windows, $lrc on Linux"
    sed 's/^/  windows stderr: /' "$out/windows.err" | head -5
    sed 's/^/  linux stderr: /' "$out/linux.err" | head -5
  elif ! diff -u "$out/linux.objects" "$out/windows.objects" >"$out/objects.diff"; then
    fail "$name: the traces differ (GUI and helper-program objects)"
    head -20 "$out/objects.diff" | cut -c1-200
  elif ! diff -u "$out/linux.files" "$out/windows.files" >"$out/files.diff"; then
    fail "$name: the files left on C: differ"
    head -20 "$out/files.diff"
  else
    pass "$name: exit $wrc, $objects trace objects and $(wc -l <"$out/windows.files") files on C: as on Linux"
  fi
  if grep -q '"call":"run_command"' "$out/windows.jsonl"; then
    sed 's/^/  launch output: /' "$out/windows.out" | tr -d '\r' | head -5
  fi
}

echo "== the answer files, on Windows (Wine) and on Linux"
forget_installations
play apl apl.txt cd
play update update.txt cd
forget_installations
play pos pos.txt cd
forget_installations
play run run.txt cd
forget_installations
play cancel cancel.txt cd
forget_installations
play search apl.txt temp

if [ -f tests/windows/screenshots.sh ]; then
  source tests/windows/screenshots.sh
  take_screenshots
fi

echo "== $((SECONDS - started)) s"
if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all passed"
