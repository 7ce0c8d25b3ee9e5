#pragma once

#include <QString>
#include <QStringList>

namespace tarvex::testing {

// An MP3 made by the lame program from generated noise with a tone in it
// (`seconds` at `sampleRate`, `channels`), with `lameOptions` such as
// {"-b", "128"} or {"-V", "2"}; `noiseGain` 0 leaves the tone alone, where
// a click stands out. Returns the MP3's path (empty on failure).
QString makeLameMp3(const QString& folder, const QString& name, double seconds, int sampleRate,
                    int channels, const QStringList& lameOptions, float noiseGain = 1.0f);

}  // namespace tarvex::testing
