#include "cli/CliEncoder.h"

#include <QFileInfo>

#include "cli/CliFailure.h"
#include "config/SettingsFile.h"

namespace tarvex::cli {

EncoderProfile encoderProfileFor(const CliCommand& command, int formatIndex,
                                 const QString& userSettingsPath) {
  const EncoderFlags& flags = command.encoder;
  QString settingsPath = userSettingsPath;
  if (!flags.settingsFile.isEmpty()) {
    settingsPath = flags.settingsFile;
    if (!QFileInfo(settingsPath).isFile()) {
      throw CliFailure(
          QStringLiteral("Cannot read the settings file %1: no such file").arg(settingsPath));
    }
  }
  const SettingsFile settings(settingsPath);
  EncoderProfile profile =
      LoadEncoderProfile(settings, formatIndex, flags.lameCommandLine.value_or(QString()));
  if (flags.bitrateKbps) profile.bitrateKbps = *flags.bitrateKbps;
  if (flags.vbrQuality) {
    profile.vbrQuality = *flags.vbrQuality;
    if (profile.vbrMethod < 0) profile.vbrMethod = 0;
  }
  if (flags.presetNumber) {
    profile.usePreset = true;
    profile.useAltPreset = false;
    profile.presetNumber = *flags.presetNumber;
  }
  return profile;
}

}  // namespace tarvex::cli
