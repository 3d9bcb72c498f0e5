#!/usr/bin/env bash
# Sets up, builds and starts QUAV. Arguments are passed to the program.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
exec "$here/build/src/quav" "$@"
