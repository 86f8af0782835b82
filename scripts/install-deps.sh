#!/usr/bin/env bash
# Installs the Debian packages that are missing. Usage: install-deps.sh game|web|test
set -euo pipefail

game_packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-mixer-dev libenet-dev libcairo2-dev
  fonts-dejavu-core fonts-dejavu-extra)
# The browser build: Debian's emscripten, and Python to serve the page.
web_packages=("${game_packages[@]}" emscripten python3)
test_packages=("${web_packages[@]}" googletest libgtest-dev libbenchmark-dev clang
  libclang-rt-dev xvfb xdotool imagemagick ffmpeg sox chromium chromium-driver python3-selenium)

case "${1:-game}" in
  game) wanted=("${game_packages[@]}") ;;
  web) wanted=("${web_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 game|web|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}" || {
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
}
