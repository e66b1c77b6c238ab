#!/usr/bin/env bash
# Builds the calculator and starts it in its window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
exec ./build/quorix "$@"
