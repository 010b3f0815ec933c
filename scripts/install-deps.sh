#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# only those that are missing. Uses sudo when not run as root. Packages given as
# arguments are added (the benchmark asks for libsqlite3-dev this way, `make fuzz`
# for clang and its libFuzzer runtime).
set -euo pipefail

packages=(
  build-essential cmake
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins
  qt6-translations-l10n qt6-image-formats-plugins
  # The webcam: Qt Multimedia's GStreamer backend converts and scales frames with the
  # base plugins and reads the camera (v4l2src, jpegdec) with the good ones.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth poppler-utils
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
