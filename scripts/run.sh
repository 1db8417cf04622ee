#!/usr/bin/env bash
# Builds qov-setup and the demo CD, makes a demo machine and runs the
# installer from the CD's D:\AUTORUN\BIN.
#
# The machine is kept in demo-machine/ (QOV_DEMO_MACHINE to choose another
# folder): drive C: with WINDOWS\system32\msvcrt.dll, the demo CD as drive D:.
# In a terminal the installer shows its terminal front end. Without one it
# plays a built-in answer file ("apl", Portugal, "mf", into C:\QOV\EMPRESA;
# on a machine that already holds that installation, "OK" on the update
# panel) and then prints what was installed. Run it again to see the update
# path; remove the folder to start afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure_packages.sh
ensure_packages

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target qov-setup demo_cd

top=$PWD
machine=${QOV_DEMO_MACHINE:-$top/demo-machine}
mkdir -p "$machine/c/WINDOWS/system32"
[ -e "$machine/c/WINDOWS/system32/msvcrt.dll" ] || echo "demo msvcrt" >"$machine/c/WINDOWS/system32/msvcrt.dll"
ln -sfn "$top/build/demo-cd" "$machine/d"
register="$machine/c/QOVEXEMF/qovinst.dir"

export QOV_MACHINE="$machine" windir='C:\WINDOWS'
cd "$machine/d/AUTORUN/BIN"

if [ -t 0 ] && [ -t 1 ]; then
  exec "$top/build/qov-setup"
fi

answers=$(mktemp)
trap 'rm -f "$answers"' EXIT
if [ -f "$register" ]; then
  echo "== The register holds an installation: the update path, then OK"
  printf 'key 15\nfolder C:\\QOV\\EMPRESA\n' >"$answers"
else
  echo "== A new installation: apl, Portugal, mf, into C:\\QOV\\EMPRESA"
  printf 'key 286\nkey 281\nkey 306\nfolder C:\\QOV\\EMPRESA\n' >"$answers"
fi
status=0
rm -f "$machine/trace.jsonl"
QOV_GUI_SCRIPT="$answers" QOV_TRACE="$machine/trace.jsonl" "$top/build/qov-setup" || status=$?

echo
echo "== Installer ended with status $status (trace in $machine/trace.jsonl)"
echo "== Files in the target folder C:\\QOV\\EMPRESA:"
(cd "$machine/c/QOV/EMPRESA" 2>/dev/null && find . -type f | sort | sed 's|^\./|   |') || echo "   (none)"
echo "== The register $register:"
[ -f "$register" ] && sed 's/\r$//; s/ *$//; s/^/   /' "$register" || echo "   (none)"
echo "== Registered controls:"
sed 's/^/   /' "$machine/registry/controls.txt" 2>/dev/null || echo "   (none)"
exit $status
