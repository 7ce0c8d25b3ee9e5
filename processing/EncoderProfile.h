#pragma once

#include <QString>
#include <cstdint>

namespace tarvex {

class AudioFile2;
class Mp3LameEncoder;
class SettingsFile;

// Output format indexes of the format selector, with their file extensions.
// "MP3 (no re-encode)" copies an MP3 source's frames; where it cannot (fades,
// other sources) it encodes with the MP3 settings, so its profile is MP3's.
enum OutputFormatIndex {
  kFormatMp3 = 0,
  kFormatWav = 1,
  kFormatWma = 2,
  kFormatOgg = 3,
  kFormatMp3Copy = 4,
};
inline constexpr int kFormatCount = 5;

// ".mp3", ".wav", ".wma", ".ogg", ".mp3"; empty for any other index.
QString OutputExtension(int formatIndex);

// True for the format that copies MP3 frames instead of encoding.
inline bool copiesMp3Frames(int formatIndex) {
  return formatIndex == kFormatMp3Copy;
}

// The settings of one output format, read from the settings file for one
// output file. Only the fields of `formatIndex` are read; the others keep
// their initial values. Stored list positions are turned into what they
// stand for (Hz, kbit/s, channels, bits, 1-based preset and profile
// numbers); a position outside its list counts as the key's default.
struct EncoderProfile {
  int formatIndex = kFormatMp3;

  // MP3.
  bool usePreset = false;
  bool useAltPreset = false;
  int presetNumber = 1;     // 1 "Phone" .. 11 "R3Mix"
  int altPresetNumber = 1;  // 1 "Fast Standard" .. 5 "Insane"
  bool vbrHeader = true;
  bool enforceMinBitrate = false;
  bool crc = false;
  bool allowDiffBlocks = false;
  bool bitReservoir = true;
  bool shortBlocks = true;
  bool strictIso = false;
  int highpassHz = -1;  // -1: filter off
  int lowpassHz = -1;   // -1: filter off
  int vbrMethod = -1;   // -1 none, 0 default, 1 old, 2 new, 3 MTRH
  int ath = 0;
  int channelMode = 1;  // 0 mono, 1 stereo, 2 joint, 3 forced joint, 4 dual channels
  int deEmphasis = 0;
  int quality = 5;
  int bitrateKbps = 128;  // MP3 and Ogg
  int vbrBitrateKbps = 128;
  int highpassWidthHz = 5;
  int lowpassWidthHz = 750;
  int vbrQuality = 5;
  QString commandLine;  // sent only when not empty

  // Shared by MP3, WAV and Ogg.
  int sampleRateHz = 44100;

  // WAV.
  int wavMode = 0;  // 0 CD quality, 1 best quality, 2 custom
  int bitsPerSample = 16;

  // WAV and Ogg.
  int channels = 2;

  // WMA.
  int profileNumber = 10;  // 1..47

  // Ogg Vorbis.
  bool oggVbr = false;
  bool oggQuality = false;
  int minBitrateKbps = 128;
  int maxBitrateKbps = 128;
  int16_t qualityValue = 300;
};

// Reads the profile of `formatIndex`; `commandLine` is the settings dialog's
// command-line text.
EncoderProfile LoadEncoderProfile(const SettingsFile& settings, int formatIndex,
                                  const QString& commandLine);

// Configures the writer (and, for MP3, the encoder settings) for the next
// output file; "MP3 (no re-encode)" sets MP3, which serves the pieces it
// cannot copy. An index outside 0..4 sets nothing. Errors of the components
// pass through; what was set before the error stays set.
void ApplyEncoderProfile(const EncoderProfile& profile, AudioFile2& writer,
                         Mp3LameEncoder& encoder);

// LoadEncoderProfile and ApplyEncoderProfile in one, as the runners call it
// before each output file.
void ApplyEncoderProfile(const SettingsFile& settings, int formatIndex, const QString& commandLine,
                         AudioFile2& writer, Mp3LameEncoder& encoder);

}  // namespace tarvex
