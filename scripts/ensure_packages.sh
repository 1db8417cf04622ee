# Sourced by the scripts: installs the Debian packages the build needs when
# any is missing. The list is the one place that names them.
QOV_PACKAGES=(
  cmake g++ make pkg-config
  libgtest-dev
  libarchive-dev
  libncurses-dev tmux
  clang-14 libclang-rt-14-dev
)

ensure_packages() {
  local missing=()
  for p in "${QOV_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing Debian packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}
