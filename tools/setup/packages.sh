#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need, when any is missing.
# Sourced by ./run and ./test.
quorvex_install_packages() {
  local wanted=(build-essential cmake ninja-build pkg-config libsdl2-dev libsdl2-mixer-dev libxmp-dev
                qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev libpng-dev libenet-dev
                desktop-file-utils appstream file clang "$@")
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then return 0; fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
