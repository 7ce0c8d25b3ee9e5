#pragma once

#include <QString>

namespace tarvex::testing {

// True when 512 bytes from the middle of the audio of `part` (past an ID3v2
// tag in front) occur in the file `whole`: an MP3 made of copied frames
// shares them with its source, one encoded anew from decoded audio does not.
bool sharesFrameBytes(const QString& whole, const QString& part);

}  // namespace tarvex::testing
