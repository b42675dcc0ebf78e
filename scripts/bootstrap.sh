#!/usr/bin/env bash
# Installs the system packages that building and testing vorlin_reader need (Debian/Ubuntu, as
# root), Tesseract for OCR among them; does nothing when they are all installed already. zlib and
# OpenSSL's libcrypto link into the module statically; ICU, spdlog and fmt are needed only to
# build; libpng and the test libraries only for the tests.
set -euo pipefail
PACKAGES=(
  g++ make python3-venv python3-dev
  zlib1g-dev libssl-dev libicu-dev libspdlog-dev libfmt-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libtesseract5 tesseract-ocr-eng
)
# dpkg-query names every package it knows; one not known at all makes it exit non-zero.
if status=$(dpkg-query -W -f='${db:Status-Status}\n' "${PACKAGES[@]}" 2>/dev/null) &&
  ! grep -qv '^installed$' <<<"$status"; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${PACKAGES[@]}" >/dev/null
