#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace tarvex {

// The fixed lists whose 0-based positions the settings file stores, and the
// values behind each position.

inline constexpr std::array<int, 9> kSampleRatesHz = {8000,  11025, 12000, 16000, 22050,
                                                      24000, 32000, 44100, 48000};
inline constexpr std::array<int, 15> kBitratesKbps = {8,   16,  24,  32,  48,  64,  80, 96,
                                                      112, 128, 160, 192, 224, 256, 320};
inline constexpr std::array<int, 2> kSampleSizesBits = {8, 16};

// The value at `position`, or the value at `defaultPosition` when `position`
// lies outside the list (a hand-edited or damaged settings file).
template <std::size_t N>
int listValue(const std::array<int, N>& list, int position, int defaultPosition) {
  if (position < 0 || position >= static_cast<int>(N)) position = defaultPosition;
  return list[static_cast<std::size_t>(position)];
}

// True when `position` names a row of a list with `rowCount` rows.
inline bool isListPosition(int position, int rowCount) {
  return position >= 0 && position < rowCount;
}

QStringList sampleRateRows();  // "8000 Hz" ... "48000 Hz"
QStringList bitrateRows();     // "8 Kbps" ... "320 Kbps"
QStringList mp3ChannelRows();  // "Mono" ... "Dual Channels"
QStringList twoChannelRows();  // "Mono", "Stereo"
QStringList sampleSizeRows();  // "8 bps", "16 bps"
QStringList vbrMethodRows();   // "None" ... "MTRH"
QStringList athRows();         // "default" ... "only for short blocks"
QStringList deEmphasisRows();  // "default", "0/15 microseconds", "citt j.17"
QStringList presetRows();      // "Phone" ... "R3Mix"
QStringList altPresetRows();   // "Fast Standard" ... "Insane"
QStringList wavModeRows();     // "CD quality WAV format." ...
QStringList wmaFormatRows();   // the 47 WMA profiles
QStringList fadeLengthRows();  // "1s" ... "20s"

}  // namespace tarvex
