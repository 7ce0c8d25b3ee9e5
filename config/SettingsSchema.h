#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <span>

#include "config/SettingsFile.h"

namespace tarvex {

// Every key of the settings file. The order is the order of the schema's
// table, which is the order in which a group of keys is written.
enum class Setting {
  // The main window's working state.
  FunctionChoice,
  OutputDir,
  PieceSeconds,
  PieceCount,
  FadeIn,
  FadeOut,
  FadeInSeconds,
  FadeOutSeconds,
  SkinFlag,
  NamePiecesByTitle,
  OutputFormat,
  // The settings dialog's folder text, written at OK and read by nobody.
  DialogPath,
  // MP3.
  Mp3Bitrate,
  Mp3Channel,
  Mp3Frequency,
  Mp3Quality,
  VbrMethod,
  VbrBitrate,
  VbrQuality,
  VbrHeader,
  VbrEnforceMinBitrate,
  HighpassOn,
  LowpassOn,
  HighpassHz,
  HighpassWidthHz,
  LowpassHz,
  LowpassWidthHz,
  BitReservoir,
  ShortBlocks,
  AllowDiffBlocks,
  StrictIso,
  Crc,
  Ath,
  DeEmphasis,
  UsePreset,
  UseAltPreset,
  Preset,
  AltPreset,
  // WAV, WMA, Ogg Vorbis.
  WavMode,
  WavBits,
  WavChannel,
  WavFrequency,
  WmaFormat,
  OggChannel,
  OggFrequency,
  OggBitrate,
  OggMaxBitrate,
  OggMinBitrate,
  OggQuality,
  OggVbr,
  OggQualityMode,
  // Find silences: what counts as a pause.
  SilenceThresholdDb,
  SilenceMinimumMs,
};
inline constexpr std::size_t kSettingCount =
    static_cast<std::size_t>(Setting::SilenceMinimumMs) + 1;

enum class SettingType { Integer, Boolean, Text };

// Which keys are read and written together.
enum class SettingGroup {
  MainWindow,  // read at start-up, written at close
  DialogPath,  // written by the settings dialog's OK
  Encoder,     // the four output formats: the settings dialog and the encoder profile
  Silence,     // Find silences: read before the search, written by its dialog's OK
};

// Who reads: the two readers differ in what a missing key means for the two
// MP3 quality keys (the encoder uses 5, the dialog shows 4).
enum class SettingsReader { EncoderProfile, SettingsDialog };

// One key: where it lives, how it is encoded, what a missing key reads as
// and what the settings dialog's Default button sets. Integer and boolean
// keys use the numbers; list keys hold a 0-based list position.
struct SettingSpec {
  Setting setting;
  SettingGroup group;
  const char* section;
  const char* key;
  SettingType type;
  int missing;          // a missing key, for every reader but the one below
  int missingInDialog;  // a missing key, as the settings dialog shows it
  int defaultButton;    // the Default button's value (encoder keys)
};

// The whole table, in write order.
std::span<const SettingSpec> settingsSchema();
const SettingSpec& specOf(Setting setting);

// The value of every key of a group, as read or as about to be written.
class SettingsValues {
 public:
  int number(Setting setting) const { return numbers_[index(setting)]; }
  bool flag(Setting setting) const { return number(setting) != 0; }
  const QString& text(Setting setting) const { return texts_[index(setting)]; }

  void setNumber(Setting setting, int value) { numbers_[index(setting)] = value; }
  void setFlag(Setting setting, bool on) { setNumber(setting, on ? 1 : 0); }
  void setText(Setting setting, const QString& value) { texts_[index(setting)] = value; }

 private:
  static std::size_t index(Setting setting) { return static_cast<std::size_t>(setting); }

  std::array<int, kSettingCount> numbers_{};
  std::array<QString, kSettingCount> texts_{};
};

// Reads every key of `group` from one read of the file. A missing key, or a
// number that is not a whole number, reads as the key's missing-key default
// for `reader`; a missing text key reads as `missingText`.
SettingsValues LoadSettings(const SettingsFile& settings, SettingGroup group, SettingsReader reader,
                            const QString& missingText = {});

// The values the settings dialog's Default button sets (encoder keys).
SettingsValues DefaultButtonValues();

// Writes every key of `group` in table order, one key per write, so that a
// write the system refuses leaves the keys before it written. Throws
// SettingsWriteError.
void StoreSettings(const SettingsFile& settings, const SettingsValues& values, SettingGroup group);

}  // namespace tarvex
