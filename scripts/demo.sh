#!/usr/bin/env bash
# Installs what is missing, builds, prepares the demo program folder (build/demo) the first
# time, and starts the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
demo="$PWD/build/demo"
if [ ! -f "$demo/empresas.db" ]; then
  ./build/bench/velmora_generador --demo "$demo"
fi
export VELMORA_HOME="$demo"
exec ./build/src/Velmora
