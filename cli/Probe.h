#pragma once

#include <QJsonObject>
#include <QString>
#include <cstdint>

#include "tags/AudioFileinfo.h"

namespace tarvex::cli {

// What `probe` tells about one file.
struct ProbeReport {
  QString path;
  int64_t frames = 0;  // exact length in sample frames, as the reader measures it
  int sampleRate = 0;
  int channels = 0;
  QString format;     // "MP3", "WAV", "Ogg", "WMA", "FLAC", or "other"
  QString tagFamily;  // empty when the program keeps no tags for the format
  AudioFileinfo tags;
};

// Opens the file with the real reader and reads its tags. Throws AudioError
// or TagError naming the file and the reason.
ProbeReport probeFile(const QString& path);

// The container the file's first bytes declare.
QString sniffFormat(const QString& path);

// A length as "h:mm:ss.mmm", rounded to the nearest millisecond.
QString formatLength(int64_t frames, int sampleRate);

// The report as indented lines for people, and as a JSON object.
QString probeText(const ProbeReport& report);
QJsonObject probeJson(const ProbeReport& report);

}  // namespace tarvex::cli
