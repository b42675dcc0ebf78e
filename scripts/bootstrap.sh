#!/usr/bin/env bash
# Installs the system packages that building vorlin_reader needs (Debian/Ubuntu, as root).
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  g++ make python3-venv python3-dev \
  libssl-dev libpng-dev libicu-dev libspdlog-dev libfmt-dev \
  libgtest-dev libgmock-dev libbenchmark-dev >/dev/null
