#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace tarvex {

// Positions in a CUE sheet are CD frames: 75 to the second ("mm:ss:ff").
constexpr int64_t kCueFramesPerSecond = 75;

// The whole second a CD frame is marked at: the nearest, half a second up.
constexpr int64_t wholeSecondOfCueFrame(int64_t frame) {
  return (frame + kCueFramesPerSecond / 2) / kCueFramesPerSecond;
}

struct CueIndex {
  int number = 1;       // 0 is the pregap, 1 the start of the track proper
  int64_t cdFrame = 0;  // from the start of the track's file
};

struct CueTrack {
  int number = 0;  // as the sheet numbers it (usually 1..99)
  QString title;
  QString performer;
  QString songwriter;
  std::vector<CueIndex> indexes;  // in sheet order (ascending)
  int fileIndex = 0;              // which CueSheet::files entry the track plays from
  // The track's lines the program does not use (FLAGS, ISRC, PREGAP,
  // POSTGAP, REM, unknown commands), trimmed, in sheet order: written back
  // as they were.
  QStringList otherLines;

  // INDEX 01, or -1 when the track has none (the reader refuses such sheets).
  int64_t startFrame() const;
};

struct CueFile {
  QString name;  // as written in the sheet (may be relative, may name another extension)
  QString type;  // WAVE, MP3, BINARY, ... upper-cased
};

// One sheet as read: its disc-level texts, its files and its tracks.
struct CueSheet {
  QString title;  // the album
  QString performer;
  QString genre;    // REM GENRE
  QString date;     // REM DATE
  QString comment;  // REM COMMENT
  // The disc's lines the program does not use (CATALOG, CDTEXTFILE, other REM
  // lines, unknown commands), trimmed, in sheet order.
  QStringList otherLines;
  std::vector<CueFile> files;
  std::vector<CueTrack> tracks;
};

// "mm:ss:ff" (minutes at least two digits, more when needed).
QString formatCueTime(int64_t cdFrame);
// Milliseconds of a CD frame position, rounded to the nearest millisecond.
int64_t cueFrameToMs(int64_t cdFrame);
// The CD frame nearest to a time in milliseconds.
int64_t msToCueFrame(int64_t ms);

}  // namespace tarvex
