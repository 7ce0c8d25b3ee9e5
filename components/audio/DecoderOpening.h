#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "components/audio/AudioDecoder.h"

namespace tarvex {

// Opens a source file with the decoder made for its kind: MPEG audio through
// libmpg123, Ogg Vorbis through libvorbisfile, everything else (and what those
// two cannot read after all) through libavformat. Throws AudioError naming
// the file and the reason. `knownFrames` (above 0) is the length measured
// before (a source's probe): an MPEG file without an Info header is then not
// scanned, nor a compressed file of another kind decoded, from end to end to
// measure it again.
std::unique_ptr<AudioDecoder> openDecoder(const QString& fileName, int64_t knownFrames = 0);

}  // namespace tarvex
