#pragma once

#include "gui/schedules/CProgramPage.h"

namespace tolvane {

// What the pages of the programs on one date show (annual: a day of every year; one-time: a day of one year):
// the list columns with the date `dateWidth` pixels wide, the caption `captionText`, and the year field for the
// one-time programs.
ProgramPageSpec datedProgramSpec(int kind, int captionText, int dateWidth);

} // namespace tolvane
