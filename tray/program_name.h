#pragma once

// The display name in the tooltip, and the hidden window's class and title, by which other
// copies of the program find it.
#define DECKHAND_PROGRAM_NAME "Norvik Deckhand"
inline constexpr char ProgramName[] = DECKHAND_PROGRAM_NAME;
// The same name as the caption of every message box, for the W function that shows them.
inline constexpr wchar_t ProgramCaption[] = L"" DECKHAND_PROGRAM_NAME;
