#pragma once

#include <QString>

namespace tarvex::testing {

// Short test sources made through the real writer. WAV files are quick to
// make at any length; MP3 files carry the LAME header, so their length is
// exact. Files are made once per path.
QString makeMp3Source(const QString& path, double seconds);
QString makeWavSource(const QString& path, double seconds);
// Writes an ID3v2.3 title into an existing MP3 file.
void setMp3Title(const QString& path, const QString& title);
// Random bytes under any name.
QString makeJunkFile(const QString& path, int bytes);

}  // namespace tarvex::testing
