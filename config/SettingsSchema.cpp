#include "config/SettingsSchema.h"

#include <iterator>

namespace tarvex {

namespace {

using enum Setting;
using enum SettingType;
constexpr SettingGroup kMain = SettingGroup::MainWindow;
constexpr SettingGroup kEncoder = SettingGroup::Encoder;

constexpr int kBitrate128 = 9;      // "128 Kbps"
constexpr int kRate44100 = 7;       // "44100 Hz"
constexpr int kRate48000 = 8;       // "48000 Hz"
constexpr int kStereo = 1;          // "Stereo"
constexpr int kEncoderQuality = 5;  // a missing MP3 quality key, for the encoder
constexpr int kShownQuality = 4;    // the same key as the settings dialog shows it

// Each key once: section, name, encoding, missing-key default (for the
// encoder and for the dialog) and the Default button's value. Keys without a
// Default button value carry their missing-key default there.
constexpr SettingSpec kSchema[] = {
    {FunctionChoice, kMain, "Function", "Choice", Integer, 0, 0, 0},
    {OutputDir, kMain, "Output", "Dir", Text, 0, 0, 0},
    {PieceSeconds, kMain, "Choice", "time", Integer, 60, 60, 60},
    {PieceCount, kMain, "Choice", "Count", Integer, 6, 6, 6},
    {FadeIn, kMain, "Fade", "In", Boolean, 0, 0, 0},
    {FadeOut, kMain, "Fade", "Out", Boolean, 0, 0, 0},
    {FadeInSeconds, kMain, "Fade", "Intime", Integer, 5, 5, 5},
    {FadeOutSeconds, kMain, "Fade", "Outtime", Integer, 5, 5, 5},
    {SkinFlag, kMain, "Sorvel", "Skin", Boolean, 0, 0, 0},
    {NamePiecesByTitle, kMain, "Output", "TitleNames", Boolean, 0, 0, 0},
    {OutputFormat, kMain, "Output", "Format", Integer, 0, 0, 0},
    {DialogPath, SettingGroup::DialogPath, "Main", "Path", Text, 0, 0, 0},

    {Mp3Bitrate, kEncoder, "mp3", "bitrate", Integer, kBitrate128, kBitrate128, kBitrate128},
    {Mp3Channel, kEncoder, "mp3", "channel", Integer, kStereo, kStereo, kStereo},
    {Mp3Frequency, kEncoder, "mp3", "frequency", Integer, kRate44100, kRate44100, kRate44100},
    {Mp3Quality, kEncoder, "mp3", "quality", Integer, kEncoderQuality, kShownQuality,
     kEncoderQuality},
    {VbrMethod, kEncoder, "MP3VBR", "Coding Method", Integer, 0, 0, 0},
    {VbrBitrate, kEncoder, "MP3VBR", "vbr bitrate", Integer, kBitrate128, kBitrate128, kBitrate128},
    {VbrQuality, kEncoder, "MP3VBR", "vbr quality", Integer, kEncoderQuality, kShownQuality,
     kEncoderQuality},
    {VbrHeader, kEncoder, "MP3VBR", "vbrck", Boolean, 1, 1, 1},
    {VbrEnforceMinBitrate, kEncoder, "MP3VBR", "semb", Boolean, 0, 0, 0},
    {HighpassOn, kEncoder, "MP3Filt", "chHFilt", Boolean, 0, 0, 0},
    {LowpassOn, kEncoder, "MP3Filt", "chLFilt", Boolean, 0, 0, 0},
    {HighpassHz, kEncoder, "MP3Filt", "udHFiltF", Integer, 30, 30, 30},
    {HighpassWidthHz, kEncoder, "MP3Filt", "udHFiltW", Integer, 5, 5, 5},
    {LowpassHz, kEncoder, "MP3Filt", "udLFiltF", Integer, 15160, 15160, 15160},
    {LowpassWidthHz, kEncoder, "MP3Filt", "udLFiltW", Integer, 750, 750, 750},
    {BitReservoir, kEncoder, "MP3Expert", "Bit", Boolean, 1, 1, 1},
    {ShortBlocks, kEncoder, "MP3Expert", "short", Boolean, 1, 1, 1},
    {AllowDiffBlocks, kEncoder, "MP3Expert", "allow", Boolean, 0, 0, 0},
    {StrictIso, kEncoder, "MP3Expert", "comply", Boolean, 0, 0, 0},
    {Crc, kEncoder, "MP3Expert", "crc", Boolean, 0, 0, 0},
    {Ath, kEncoder, "MP3Expert", "ath", Integer, 0, 0, 0},
    {DeEmphasis, kEncoder, "MP3Expert", "de", Integer, 0, 0, 0},
    {UsePreset, kEncoder, "MP3Prest", "preset", Boolean, 0, 0, 0},
    {UseAltPreset, kEncoder, "MP3Prest", "alt", Boolean, 0, 0, 0},
    {Preset, kEncoder, "MP3Prest", "rg_prest", Integer, 0, 0, 0},
    {AltPreset, kEncoder, "MP3Prest", "rg_alt", Integer, 0, 0, 0},

    {WavMode, kEncoder, "wav", "mode", Integer, 0, 0, 0},
    {WavBits, kEncoder, "wav", "bit", Integer, 1, 1, 1},
    {WavChannel, kEncoder, "wav", "channel", Integer, kStereo, kStereo, kStereo},
    // Default sets 48000 Hz where a missing key reads 44100 Hz.
    {WavFrequency, kEncoder, "wav", "frequency", Integer, kRate44100, kRate44100, kRate48000},
    {WmaFormat, kEncoder, "wma", "format", Integer, 9, 9, 9},
    {OggChannel, kEncoder, "ogg", "channel", Integer, kStereo, kStereo, kStereo},
    {OggFrequency, kEncoder, "ogg", "frequency", Integer, kRate44100, kRate44100, kRate44100},
    {OggBitrate, kEncoder, "ogg", "bitrate", Integer, kBitrate128, kBitrate128, kBitrate128},
    {OggMaxBitrate, kEncoder, "ogg", "max bitrate", Integer, kBitrate128, kBitrate128, kBitrate128},
    {OggMinBitrate, kEncoder, "ogg", "min bitrate", Integer, kBitrate128, kBitrate128, kBitrate128},
    {OggQuality, kEncoder, "ogg", "quality", Integer, 300, 300, 300},
    {OggVbr, kEncoder, "ogg", "oggvbr", Boolean, 0, 0, 0},
    {OggQualityMode, kEncoder, "ogg", "oggquality", Boolean, 0, 0, 0},

    // A pause: below "Threshold" dB of full scale for at least "Length" milliseconds.
    {SilenceThresholdDb, SettingGroup::Silence, "Silence", "Threshold", Integer, -40, -40, -40},
    {SilenceMinimumMs, SettingGroup::Silence, "Silence", "Length", Integer, 1000, 1000, 1000},
};

static_assert(std::size(kSchema) == kSettingCount, "every key has one row");

constexpr bool rowsFollowTheKeys() {
  for (std::size_t i = 0; i < std::size(kSchema); ++i) {
    if (static_cast<std::size_t>(kSchema[i].setting) != i) return false;
  }
  return true;
}
static_assert(rowsFollowTheKeys(), "the table is indexed by Setting");

QString sectionOf(const SettingSpec& spec) {
  return QString::fromLatin1(spec.section);
}

QString keyOf(const SettingSpec& spec) {
  return QString::fromLatin1(spec.key);
}

}  // namespace

std::span<const SettingSpec> settingsSchema() {
  return kSchema;
}

const SettingSpec& specOf(Setting setting) {
  return kSchema[static_cast<std::size_t>(setting)];
}

SettingsValues LoadSettings(const SettingsFile& settings, SettingGroup group, SettingsReader reader,
                            const QString& missingText) {
  const ProfileContents contents = settings.ReadAll();
  SettingsValues values;
  for (const SettingSpec& spec : kSchema) {
    if (spec.group != group) continue;
    const auto stored = contents.value(sectionOf(spec), keyOf(spec));
    if (spec.type == SettingType::Text) {
      values.setText(spec.setting, stored.value_or(missingText));
      continue;
    }
    const int missing =
        reader == SettingsReader::SettingsDialog ? spec.missingInDialog : spec.missing;
    const int number = stored ? SettingsFile::parseInt(*stored, missing) : missing;
    // A boolean keeps the number read (any non-zero value is true).
    values.setNumber(spec.setting, number);
  }
  return values;
}

SettingsValues DefaultButtonValues() {
  SettingsValues values;
  for (const SettingSpec& spec : kSchema) values.setNumber(spec.setting, spec.defaultButton);
  return values;
}

void StoreSettings(const SettingsFile& settings, const SettingsValues& values, SettingGroup group) {
  for (const SettingSpec& spec : kSchema) {
    if (spec.group != group) continue;
    switch (spec.type) {
      case SettingType::Integer:
        settings.PutInt(sectionOf(spec), keyOf(spec), values.number(spec.setting));
        break;
      case SettingType::Boolean:
        settings.PutBool(sectionOf(spec), keyOf(spec), values.flag(spec.setting));
        break;
      case SettingType::Text:
        settings.PutText(sectionOf(spec), keyOf(spec), values.text(spec.setting));
        break;
    }
  }
}

}  // namespace tarvex
