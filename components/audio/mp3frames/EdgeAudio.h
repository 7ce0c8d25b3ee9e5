#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace tarvex::mp3frames {

// What a piece's own decode lacks at an edge whose frames were encoded
// again: the difference between the audio the piece was cut to hold (its
// source's samples, silence before and after it) and what the encoded
// frames decode to, over raw decoder positions of the piece. The encoder's
// noise at a cut is shaped by the cut's sudden start or stop; once two
// pieces of one recording are joined back the sudden sound is gone and the
// noise would be left bare at the seam. A piece carries this difference,
// so a join (or a later cut) can take its audio as the source gave it.
//
// Each stretch names the piece frames it was measured on by their bytes'
// hash: a file whose frames were changed since no longer matches, and its
// stretches are left unused.
struct EdgeAudioStretch {
  int64_t rawBegin = 0;  // raw decoder position of its first sample
  uint32_t firstFrame = 0;
  uint32_t frameCount = 0;
  uint64_t framesHash = 0;
  std::vector<int16_t> difference;  // interleaved, in steps of 1/32768
};

struct EdgeAudio {
  int channels = 0;
  std::vector<EdgeAudioStretch> stretches;
};

// A hash of frame bytes, the same on every machine.
uint64_t frameBytesHash(const unsigned char* data, size_t size);

// The stored form (compressed), and back. Reading never throws: data that
// is not well formed, or names more channels or samples than it may, reads
// as no stretch at all.
QByteArray storeEdgeAudio(const EdgeAudio& audio);
EdgeAudio readEdgeAudio(const QByteArray& stored);

// Adds `audio`'s differences to `span` (interleaved floats of `channels`
// channels over raw positions [rawBegin, rawBegin + span.size() / channels)).
void addEdgeAudio(const EdgeAudio& audio, int64_t rawBegin, std::vector<float>& span);

}  // namespace tarvex::mp3frames
