#include "processing/EncoderProfile.h"

#include <algorithm>
#include <limits>

#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "config/EncoderLists.h"
#include "config/SettingsFile.h"

namespace tarvex {

namespace {

constexpr int kDefaultBitrate = 9;    // 128 kbit/s
constexpr int kDefaultFrequency = 7;  // 44100 Hz
constexpr int kDefaultChannel = 1;    // stereo

constexpr int kMp3ChannelRows = 5;
constexpr int kVbrMethodRows = 5;
constexpr int kAthRows = 4;
constexpr int kDeEmphasisRows = 3;
constexpr int kPresetRows = 11;
constexpr int kAltPresetRows = 5;
constexpr int kWavModeRows = 3;
constexpr int kTwoChannelRows = 2;
constexpr int kWmaRows = 47;

// The encoder settings take booleans as -1 (true) and 0 (false).
int flag(bool on) {
  return on ? -1 : 0;
}

// A stored list position, or the key's default when it lies outside the list.
int position(const SettingsFile& settings, const QString& section, const QString& key,
             int defaultPosition, int rowCount) {
  const int stored = settings.GetInt(section, key, defaultPosition);
  return isListPosition(stored, rowCount) ? stored : defaultPosition;
}

int sampleRate(const SettingsFile& settings, const QString& section) {
  return listValue(kSampleRatesHz,
                   settings.GetInt(section, QStringLiteral("frequency"), kDefaultFrequency),
                   kDefaultFrequency);
}

int bitrate(const SettingsFile& settings, const QString& section, const QString& key) {
  return listValue(kBitratesKbps, settings.GetInt(section, key, kDefaultBitrate), kDefaultBitrate);
}

int twoChannels(const SettingsFile& settings, const QString& section) {
  return position(settings, section, QStringLiteral("channel"), kDefaultChannel, kTwoChannelRows) +
         1;
}

void loadMp3(const SettingsFile& s, const QString& commandLine, EncoderProfile& p) {
  const QString mp3 = QStringLiteral("mp3");
  const QString vbr = QStringLiteral("MP3VBR");
  const QString filter = QStringLiteral("MP3Filt");
  const QString expert = QStringLiteral("MP3Expert");
  const QString presets = QStringLiteral("MP3Prest");

  p.usePreset = s.GetBool(presets, QStringLiteral("preset"), false);
  p.useAltPreset = s.GetBool(presets, QStringLiteral("alt"), false);
  p.presetNumber = position(s, presets, QStringLiteral("rg_prest"), 0, kPresetRows) + 1;
  p.altPresetNumber = position(s, presets, QStringLiteral("rg_alt"), 0, kAltPresetRows) + 1;
  p.vbrHeader = s.GetBool(vbr, QStringLiteral("vbrck"), true);
  p.enforceMinBitrate = s.GetBool(vbr, QStringLiteral("semb"), false);
  p.crc = s.GetBool(expert, QStringLiteral("crc"), false);
  p.allowDiffBlocks = s.GetBool(expert, QStringLiteral("allow"), false);
  p.bitReservoir = s.GetBool(expert, QStringLiteral("Bit"), true);
  p.shortBlocks = s.GetBool(expert, QStringLiteral("short"), true);
  p.strictIso = s.GetBool(expert, QStringLiteral("comply"), false);
  p.highpassHz = s.GetBool(filter, QStringLiteral("chHFilt"), false)
                     ? s.GetInt(filter, QStringLiteral("udHFiltF"), 30)
                     : -1;
  p.lowpassHz = s.GetBool(filter, QStringLiteral("chLFilt"), false)
                    ? s.GetInt(filter, QStringLiteral("udLFiltF"), 15160)
                    : -1;
  p.vbrMethod = position(s, vbr, QStringLiteral("Coding Method"), 0, kVbrMethodRows) - 1;
  p.ath = position(s, expert, QStringLiteral("ath"), 0, kAthRows);
  p.channelMode = position(s, mp3, QStringLiteral("channel"), kDefaultChannel, kMp3ChannelRows);
  p.deEmphasis = position(s, expert, QStringLiteral("de"), 0, kDeEmphasisRows);
  p.quality = s.GetInt(mp3, QStringLiteral("quality"), 5);
  p.bitrateKbps = bitrate(s, mp3, QStringLiteral("bitrate"));
  p.vbrBitrateKbps = bitrate(s, vbr, QStringLiteral("vbr bitrate"));
  p.highpassWidthHz = s.GetInt(filter, QStringLiteral("udHFiltW"), 5);
  p.lowpassWidthHz = s.GetInt(filter, QStringLiteral("udLFiltW"), 750);
  p.vbrQuality = s.GetInt(vbr, QStringLiteral("vbr quality"), 5);
  p.sampleRateHz = sampleRate(s, mp3);
  p.commandLine = commandLine;
}

void loadWav(const SettingsFile& s, EncoderProfile& p) {
  const QString wav = QStringLiteral("wav");
  p.wavMode = position(s, wav, QStringLiteral("mode"), 0, kWavModeRows);
  switch (p.wavMode) {
    case 0:
      p.sampleRateHz = 44100;
      p.channels = 2;
      p.bitsPerSample = 16;
      break;
    case 1:
      p.sampleRateHz = 48000;
      p.channels = 2;
      p.bitsPerSample = 32;
      break;
    default:
      p.sampleRateHz = sampleRate(s, wav);
      p.channels = twoChannels(s, wav);
      p.bitsPerSample = listValue(kSampleSizesBits, s.GetInt(wav, QStringLiteral("bit"), 1), 1);
      break;
  }
}

void loadOgg(const SettingsFile& s, EncoderProfile& p) {
  const QString ogg = QStringLiteral("ogg");
  p.oggVbr = s.GetBool(ogg, QStringLiteral("oggvbr"), false);
  p.oggQuality = s.GetBool(ogg, QStringLiteral("oggquality"), false);
  p.sampleRateHz = sampleRate(s, ogg);
  p.channels = twoChannels(s, ogg);
  p.bitrateKbps = bitrate(s, ogg, QStringLiteral("bitrate"));
  p.minBitrateKbps = bitrate(s, ogg, QStringLiteral("min bitrate"));
  p.maxBitrateKbps = bitrate(s, ogg, QStringLiteral("max bitrate"));
  // The value is 16 bits wide; a larger stored number is held at the edge
  // rather than wrapped into a different quality.
  const int quality = s.GetInt(ogg, QStringLiteral("quality"), 300);
  p.qualityValue = static_cast<int16_t>(std::clamp<int>(
      quality, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

void applyMp3(const EncoderProfile& p, AudioFile2& writer, Mp3LameEncoder& encoder) {
  if (!p.usePreset && !p.useAltPreset) {
    encoder.setVbrHeader(flag(p.vbrHeader));
    encoder.setEnforceMinBitrate(flag(p.enforceMinBitrate));
    encoder.setCrc(flag(p.crc));
    encoder.setAllowDiffBlocks(flag(p.allowDiffBlocks));
    encoder.setBitReservoir(flag(p.bitReservoir));
    encoder.setShortBlocks(flag(p.shortBlocks));
    encoder.setStrictIso(flag(p.strictIso));
    encoder.setHighpassFreq(p.highpassHz);
    encoder.setLowpassFreq(p.lowpassHz);
    encoder.setVbrMethod(p.vbrMethod);
    encoder.setAth(p.ath);
    if (p.channelMode == 0) {
      encoder.setChannels(1);  // the stereo mode is left as it was
    } else {
      encoder.setChannels(2);
      encoder.setStereoMode(p.channelMode);
    }
    encoder.setDeEmphasis(p.deEmphasis);
    encoder.setQuality(p.quality);
    encoder.setBitrate(p.bitrateKbps);
    encoder.setVbrBitrate(p.vbrBitrateKbps);
    encoder.setHighpassWidth(p.highpassWidthHz);
    encoder.setLowpassWidth(p.lowpassWidthHz);
    encoder.setVbrQuality(p.vbrQuality);
    encoder.setSampleRate(p.sampleRateHz);
  } else {
    // Only the preset(s); every individual setting keeps its last value.
    if (p.usePreset) encoder.setPreset(p.presetNumber);
    if (p.useAltPreset) encoder.setAltPreset(p.altPresetNumber);
  }
  // An emptied text is not sent: the encoder keeps the last one it was given.
  if (!p.commandLine.isEmpty()) encoder.setCommandLine(p.commandLine);
  writer.SetMp3Encoder(encoder);
}

void applyWav(const EncoderProfile& p, AudioFile2& writer) {
  if (writer.IsOpen()) writer.Close();
  writer.SetWavFormat(p.sampleRateHz, p.channels, p.bitsPerSample);
}

void applyOgg(const EncoderProfile& p, AudioFile2& writer) {
  if (!p.oggVbr && !p.oggQuality) {
    writer.SetOggFormat(p.sampleRateHz, p.channels, p.bitrateKbps, 0, 0, -1);
  }
  if (p.oggQuality) writer.SetOggFormat(p.sampleRateHz, p.channels, 0, 0, 0, p.qualityValue);
  if (p.oggVbr) {
    writer.SetOggFormat(p.sampleRateHz, p.channels, p.bitrateKbps, p.minBitrateKbps,
                        p.maxBitrateKbps, -1);
  }
}

}  // namespace

QString OutputExtension(int formatIndex) {
  switch (formatIndex) {
    case kFormatMp3:
      return QStringLiteral(".mp3");
    case kFormatWav:
      return QStringLiteral(".wav");
    case kFormatWma:
      return QStringLiteral(".wma");
    case kFormatOgg:
      return QStringLiteral(".ogg");
    default:
      return {};
  }
}

EncoderProfile LoadEncoderProfile(const SettingsFile& settings, int formatIndex,
                                  const QString& commandLine) {
  EncoderProfile profile;
  profile.formatIndex = formatIndex;
  switch (formatIndex) {
    case kFormatMp3:
      loadMp3(settings, commandLine, profile);
      break;
    case kFormatWav:
      loadWav(settings, profile);
      break;
    case kFormatWma:
      profile.profileNumber =
          position(settings, QStringLiteral("wma"), QStringLiteral("format"), 9, kWmaRows) + 1;
      break;
    case kFormatOgg:
      loadOgg(settings, profile);
      break;
    default:
      break;
  }
  return profile;
}

void ApplyEncoderProfile(const EncoderProfile& profile, AudioFile2& writer,
                         Mp3LameEncoder& encoder) {
  switch (profile.formatIndex) {
    case kFormatMp3:
      applyMp3(profile, writer, encoder);
      break;
    case kFormatWav:
      applyWav(profile, writer);
      break;
    case kFormatWma:
      writer.SetWmaFormat(profile.profileNumber);
      break;
    case kFormatOgg:
      applyOgg(profile, writer);
      break;
    default:
      break;  // the writer keeps the format it had
  }
}

void ApplyEncoderProfile(const SettingsFile& settings, int formatIndex, const QString& commandLine,
                         AudioFile2& writer, Mp3LameEncoder& encoder) {
  ApplyEncoderProfile(LoadEncoderProfile(settings, formatIndex, commandLine), writer, encoder);
}

}  // namespace tarvex
