# shellcheck shell=bash
# The most bytes the stripped i686 NorvikDeckhand.exe may have: scripts/test holds the program
# to it, scripts/bench shows the size beside it.
# The size the build reached with the tray icons at every display scale and for a dark taskbar
# and the on-screen display (82,958 bytes), plus 1 KiB.
DECKHAND_EXE_BUDGET=83982
