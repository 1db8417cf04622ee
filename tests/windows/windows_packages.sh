# Sourced by the Windows scripts: the Debian packages the Windows build and
# its Wine suite need, on top of the Linux build's list.
QOV_WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64 libz-mingw-w64-dev googletest
  wine64 xvfb x11-utils imagemagick
)

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/ensure_packages.sh"

ensure_windows_packages() {
  ensure_packages "${QOV_WINDOWS_PACKAGES[@]}"
}
