#!/usr/bin/env bash
# Builds the program and starts it from its program folder in the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/program/tovalquendry
