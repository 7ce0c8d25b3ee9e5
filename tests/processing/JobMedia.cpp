#include "tests/processing/JobMedia.h"

#include <cmath>

#include "components/audio/AudioFile2.h"
#include "sources/MulDiv.h"
#include "tags/ID3Tags.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex::testing {

ID3StructV2 songTags() {
  ID3StructV2 tags;
  tags.title = QStringLiteral("Morning Song");
  tags.artist = QStringLiteral("Quiet Band");
  tags.album = QStringLiteral("First Light");
  tags.year = QStringLiteral("2019");
  tags.genre = QStringLiteral("Ambient");
  return tags;
}

const JobMedia& JobMedia::get() {
  static const JobMedia media;
  return media;
}

JobMedia::JobMedia() {
  song125 = makeMp3Source(path("song125.mp3"), 125);
  ID3Tags().WriteID3V2Tag(song125, songTags());
  a12 = makeMp3Source(path("a12.mp3"), 12);
  b7 = makeMp3Source(path("b7.mp3"), 7);
  c30 = makeMp3Source(path("c30.mp3"), 30);
  tail5 = makeMp3Source(path("tail5.mp3"), 5.5);
  stereo6 = path("stereo6.mp3");
  writeToneFile(stereo6, 6, 44100, 2, AudioFormat::Mp3);
  mono4 = path("mono4.mp3");
  writeToneFile(mono4, 4, 22050, 1, AudioFormat::Mp3);
}

Decoded decodeFrames(const QString& path) {
  AudioFile2 reader;
  reader.setActive(true);
  reader.OpenRead(path);
  Decoded decoded;
  decoded.sampleRate = reader.SampleRate();
  decoded.channels = reader.Channels();
  const std::vector<float> values = readToEnd(reader);
  decoded.frames = static_cast<int64_t>(values.size()) / std::max(1, decoded.channels);
  return decoded;
}

int64_t frameAt(int seconds, int64_t samples, int64_t durationMs) {
  return MulDiv(int64_t{seconds} * 1000, samples, durationMs);
}

int64_t framesAtRateOf(const Decoded& decoded, int64_t sourceFrames) {
  return MulDiv(sourceFrames, decoded.sampleRate, 22050);
}

double rmsOf(const QString& path, double start, double length) {
  AudioFile2 reader;
  reader.setActive(true);
  reader.OpenRead(path);
  const int channels = reader.Channels();
  const auto first = static_cast<int64_t>(start * reader.SampleRate());
  const auto count = static_cast<int64_t>(length * reader.SampleRate());
  const std::vector<float> values = readToEnd(reader);
  double sum = 0;
  int64_t used = 0;
  for (int64_t frame = first; frame < first + count; ++frame) {
    const size_t index = static_cast<size_t>(frame * channels);
    if (index >= values.size()) break;
    sum += double{values[index]} * values[index];
    ++used;
  }
  return used > 0 ? std::sqrt(sum / used) : 0.0;
}

}  // namespace tarvex::testing
