#!/usr/bin/env bash
# Builds the calculator and starts it (the headless driver for now).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
exec ./build/quorix "$@"
