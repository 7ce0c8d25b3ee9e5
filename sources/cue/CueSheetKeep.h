#pragma once

#include <QString>

#include "sources/cue/CueSheet.h"

namespace tarvex {

// Lays what a sheet written from marks cannot know over `fresh` from the
// sheet `old` it replaces: the disc's other lines (CATALOG, REM lines, ...),
// its comment when the marks give none, and the FILE line of `audioPath` as
// written (its name and type). A fresh track that starts where an old track
// of that file did (same INDEX 01) takes the old track's other lines, its
// songwriter, its pregap (INDEX 00, when it lies after the fresh track
// before it starts) and its further indexes (02 and on, before the next fresh
// track starts). Titles, performers and starts are the marks'.
void keepWhatMarksDoNotSay(CueSheet& fresh, const CueSheet& old, const QString& audioPath);

}  // namespace tarvex
