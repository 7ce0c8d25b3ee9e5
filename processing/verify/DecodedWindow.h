#pragma once

#include <cstdint>
#include <vector>

namespace tarvex {
class AudioFile2;
}

namespace tarvex::verify {

// The interleaved samples [first, first + count) of an open reader, in the
// file's own format; positions before the start or past the end of the file
// read as silence, as a decoder gives nothing there.
std::vector<float> readWindow(AudioFile2& reader, int64_t first, int64_t count);

// The largest change from one sample to the next of any channel in
// interleaved `samples`.
double largestStep(const std::vector<float>& samples, int channels);

}  // namespace tarvex::verify
