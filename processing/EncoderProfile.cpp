#include "processing/EncoderProfile.h"

#include <algorithm>
#include <limits>

#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "config/EncoderLists.h"
#include "config/SettingsFile.h"
#include "config/SettingsSchema.h"

namespace tarvex {

namespace {

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

// A stored list position, or the key's missing-key default when it lies
// outside the list.
int position(const SettingsValues& values, Setting setting, int rowCount) {
  const int stored = values.number(setting);
  return isListPosition(stored, rowCount) ? stored : specOf(setting).missing;
}

int sampleRate(const SettingsValues& values, Setting setting) {
  return listValue(kSampleRatesHz, values.number(setting), specOf(setting).missing);
}

int bitrate(const SettingsValues& values, Setting setting) {
  return listValue(kBitratesKbps, values.number(setting), specOf(setting).missing);
}

void loadMp3(const SettingsValues& v, const QString& commandLine, EncoderProfile& p) {
  p.usePreset = v.flag(Setting::UsePreset);
  p.useAltPreset = v.flag(Setting::UseAltPreset);
  p.presetNumber = position(v, Setting::Preset, kPresetRows) + 1;
  p.altPresetNumber = position(v, Setting::AltPreset, kAltPresetRows) + 1;
  p.vbrHeader = v.flag(Setting::VbrHeader);
  p.enforceMinBitrate = v.flag(Setting::VbrEnforceMinBitrate);
  p.crc = v.flag(Setting::Crc);
  p.allowDiffBlocks = v.flag(Setting::AllowDiffBlocks);
  p.bitReservoir = v.flag(Setting::BitReservoir);
  p.shortBlocks = v.flag(Setting::ShortBlocks);
  p.strictIso = v.flag(Setting::StrictIso);
  p.highpassHz = v.flag(Setting::HighpassOn) ? v.number(Setting::HighpassHz) : -1;
  p.lowpassHz = v.flag(Setting::LowpassOn) ? v.number(Setting::LowpassHz) : -1;
  p.vbrMethod = position(v, Setting::VbrMethod, kVbrMethodRows) - 1;
  p.ath = position(v, Setting::Ath, kAthRows);
  p.channelMode = position(v, Setting::Mp3Channel, kMp3ChannelRows);
  p.deEmphasis = position(v, Setting::DeEmphasis, kDeEmphasisRows);
  p.quality = v.number(Setting::Mp3Quality);
  p.bitrateKbps = bitrate(v, Setting::Mp3Bitrate);
  p.vbrBitrateKbps = bitrate(v, Setting::VbrBitrate);
  p.highpassWidthHz = v.number(Setting::HighpassWidthHz);
  p.lowpassWidthHz = v.number(Setting::LowpassWidthHz);
  p.vbrQuality = v.number(Setting::VbrQuality);
  p.sampleRateHz = sampleRate(v, Setting::Mp3Frequency);
  p.commandLine = commandLine;
}

void loadWav(const SettingsValues& v, EncoderProfile& p) {
  p.wavMode = position(v, Setting::WavMode, kWavModeRows);
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
      p.sampleRateHz = sampleRate(v, Setting::WavFrequency);
      p.channels = position(v, Setting::WavChannel, kTwoChannelRows) + 1;
      p.bitsPerSample =
          listValue(kSampleSizesBits, v.number(Setting::WavBits), specOf(Setting::WavBits).missing);
      break;
  }
}

void loadOgg(const SettingsValues& v, EncoderProfile& p) {
  p.oggVbr = v.flag(Setting::OggVbr);
  p.oggQuality = v.flag(Setting::OggQualityMode);
  p.sampleRateHz = sampleRate(v, Setting::OggFrequency);
  p.channels = position(v, Setting::OggChannel, kTwoChannelRows) + 1;
  p.bitrateKbps = bitrate(v, Setting::OggBitrate);
  p.minBitrateKbps = bitrate(v, Setting::OggMinBitrate);
  p.maxBitrateKbps = bitrate(v, Setting::OggMaxBitrate);
  // The value is 16 bits wide; a larger stored number is held at the edge
  // rather than wrapped into a different quality.
  const int quality = v.number(Setting::OggQuality);
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
    case kFormatMp3Copy:
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
  if (OutputExtension(formatIndex).isEmpty()) return profile;  // no format: nothing to read
  const SettingsValues values =
      LoadSettings(settings, SettingGroup::Encoder, SettingsReader::EncoderProfile);
  switch (formatIndex) {
    case kFormatMp3:
    case kFormatMp3Copy:
      loadMp3(values, commandLine, profile);
      break;
    case kFormatWav:
      loadWav(values, profile);
      break;
    case kFormatWma:
      profile.profileNumber = position(values, Setting::WmaFormat, kWmaRows) + 1;
      break;
    case kFormatOgg:
      loadOgg(values, profile);
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
    case kFormatMp3Copy:
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
