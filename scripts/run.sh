#!/usr/bin/env bash
# Sets up, builds and starts Movarin. The program keeps its settings in
# LibFFmpeg.Dat in the folder it is started from: its own build folder.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd build/movarin
exec ./movarin
