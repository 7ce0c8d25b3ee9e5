#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace tarvex::testing {

// Runs one of the command-line tools users have (lame, sox, ffmpeg, id3v2,
// mid3v2, eyeD3, vorbiscomment, ...) and returns what it printed on standard
// output. Throws std::runtime_error naming the tool, its arguments and its
// error output when it is missing, fails or takes longer than a minute; the
// suite's install step (scripts/install-deps) provides every tool used.
QString runOutsideTool(const QString& program, const QStringList& arguments);
// The same, for tools that print binary data (ffmpeg writing raw samples).
QByteArray runOutsideToolBytes(const QString& program, const QStringList& arguments);

// The samples of a file as ffmpeg decodes them, as signed 32-bit integers
// (8-, 16- and 24-bit PCM arrive shifted to the top bits, exactly).
std::vector<int32_t> ffmpegSamplesS32(const QString& path);

// The value of `key` in lines of the form "key=value" (as ffprobe, mid3v2 -l
// and vorbiscomment -l print them), compared without case; the first such
// line counts. Empty when there is none.
QString keyedValue(const QString& listing, const QString& key);

// The format and stream tags ffprobe reads from a file, one "key=value" per
// line, keys lower-cased.
QString ffprobeTags(const QString& path);

}  // namespace tarvex::testing
