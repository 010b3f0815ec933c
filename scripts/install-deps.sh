#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# only those that are missing. Uses sudo when not run as root. Packages given as
# arguments are added (the benchmark asks for libsqlite3-dev this way, `make fuzz`
# for clang and its libFuzzer runtime).
set -euo pipefail

packages=(
  build-essential cmake
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins libxcb1-dev
  qt6-translations-l10n qt6-image-formats-plugins
  # The webcam: Qt Multimedia's GStreamer backend converts and scales frames with the
  # base plugins and reads the camera (v4l2src, jpegdec) with the good ones.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-liberation2 fonts-dejavu-core
  # The backup copies are ZIP files, written and read with QuaZip.
  libquazip1-qt6-dev
  xvfb xauth poppler-utils
  # The shared archive: Qt SQL's PostgreSQL driver, and the server the tests start a
  # private cluster of.
  libqt6sql6-psql postgresql
  # The desktop tests: two real window managers on the private X server, and xprop to see
  # them ready; a private session bus with the accessibility bus and its registry for the
  # screen reader's checks.
  openbox icewm x11-utils dbus-daemon dbus-bin at-spi2-core
  # The tests run under the users' locale, it_IT.UTF-8 (generated below).
  locales
  # `make package` and its checks: CPack's dependency computation (dpkg-shlibdeps) and
  # the validators of the desktop entry and the AppStream metadata.
  dpkg-dev desktop-file-utils appstream
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing missing packages: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The locales the tests run under: the users' Italian one, and English for the number
# rules' table. Only those missing are enabled in /etc/locale.gen and generated.
locales_missing=()
for l in it_IT.UTF-8 en_US.UTF-8; do
  locale -a 2>/dev/null | grep -qix "${l%.UTF-8}.utf8" || locales_missing+=("$l")
done
if [[ ${#locales_missing[@]} -gt 0 ]]; then
  echo "Generating missing locales: ${locales_missing[*]}"
  for l in "${locales_missing[@]}"; do
    $sudo sed -i "s/^# *\(${l} UTF-8\)\$/\1/" /etc/locale.gen
    grep -qx "${l} UTF-8" /etc/locale.gen || echo "${l} UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen
fi
