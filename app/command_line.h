#pragma once

// Carries out the options of the process's argument vector, in order, each completely before
// the next. True: the process is to end now with exit code 0; false (-s): go on to become
// resident.
bool ProcessCommandLine();
