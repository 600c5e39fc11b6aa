#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
source "$(dirname "$0")/common.sh"
install_packages
ensure_german_locale
build "$top/build"
cd "$top/build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
