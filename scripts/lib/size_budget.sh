# shellcheck shell=bash
# The most bytes the stripped i686 NorvikDeckhand.exe may have: scripts/test holds the program
# to it, scripts/bench shows the size beside it.
DECKHAND_EXE_BUDGET=$((64 * 1024))
