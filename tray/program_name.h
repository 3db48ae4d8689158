#pragma once

// The display name in the tooltip, and the hidden window's class and title, by which other
// copies of the program find it; also the caption of every message box.
inline constexpr char ProgramName[] = "Norvik Deckhand";
