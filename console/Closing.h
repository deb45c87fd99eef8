// The closing sequence of every run.
#pragma once

#include "console/FactoryLibrary.h"

namespace tavol {

// Asks for Enter, waits for one character, clears the screen ("cls"), prints the
// result text, runs "pause" and unloads the factory API library. The commands run
// through the command interpreter.
void FinishAndShow(CFactoryLibrary& factory);

}  // namespace tavol
