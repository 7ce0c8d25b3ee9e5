#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <random>
#include <vector>

namespace tarvex::testing {

// The ways files get damaged on disks, in downloads and by other programs.
enum class Mutation {
  ByteFlips,         // a few bytes anywhere changed
  Truncation,        // cut short anywhere
  PlantedSync,       // frame sync words written over the audio
  HugeBackPointers,  // frames whose main data would begin far before them
  Splice,            // the head of one file joined to the tail of another of another rate
  LyingInfo,         // the Info frame's frame or byte count changed
};
constexpr int kMutationKinds = 6;

// An MP3 file's bytes and where its frames lie (the Info frame first).
struct Mp3Bytes {
  QByteArray bytes;
  std::vector<int64_t> frameOffsets;
  int sideInfoOffset = 0;  // from a frame's start: header and CRC
  bool mpeg1 = true;
};
Mp3Bytes readMp3Bytes(const QString& path);

// `original` damaged by `mutation`, the damage picked by `random`;
// `other` is what a splice joins it to.
QByteArray mutate(const Mp3Bytes& original, const Mp3Bytes& other, Mutation mutation,
                  std::mt19937& random);

}  // namespace tarvex::testing
