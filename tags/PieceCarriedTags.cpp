#include "tags/PieceCarriedTags.h"

#include <QString>

#include "tags/EdgeAudioFrame.h"
#include "tags/ID3TextCodec.h"

namespace tarvex {
namespace {

constexpr const char* kWholeFileID3Frames[] = {
    "TLEN", "TSIZ", "TSSE", "MLLT", "SEEK", "ASPI", "ETCO", "SYTC", "SYLT", "POSS", "RBUF",
    "RVAD", "RVA2", "CHAP", "CTOC", "MCDI", "PCNT", "SIGN", "ENCR", "GRID", "AENC"};

// Descriptions of user texts and comments that hold the file's own loudness
// or gapless data.
bool isWholeFileDescription(const QString& description) {
  for (const char* prefix : {"REPLAYGAIN_", "MP3GAIN_", "iTunNORM", "iTunSMPB", "iTunPGAP"}) {
    if (description.startsWith(QLatin1String(prefix), Qt::CaseInsensitive)) return true;
  }
  return false;
}

// The description of a user text ("TXXX") or comment ("COMM") frame.
QString descriptionOf(const ID3Frame& frame) {
  if (frame.content.isEmpty()) return {};
  const auto encoding = static_cast<unsigned char>(frame.content[0]);
  const qsizetype from = frame.id == "COMM" ? 4 : 1;
  if (frame.content.size() < from) return {};
  const qsizetype end = id3TerminatorAt(frame.content, from, encoding);
  return decodeID3String(frame.content.mid(from, end - from), encoding);
}

bool isWholeFileVorbisKey(const QString& key) {
  for (const char* prefix : {"REPLAYGAIN_", "R128_", "CHAPTER"}) {
    if (key.startsWith(QLatin1String(prefix), Qt::CaseInsensitive)) return true;
  }
  for (const char* name : {"TRACKTOTAL", "TOTALTRACKS", "ENCODER", "ENCODER_OPTIONS"}) {
    if (key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

bool isWholeFileWmaAttribute(const QByteArray& name) {
  const QString text = QString::fromUtf8(name);
  for (const char* prefix :
       {"ReplayGain", "replaygain_", "WM/MCDI", "WM/ToolName", "WM/ToolVersion",
        "WM/EncodingSettings", "WM/EncodingTime", "WM/TrackNumber", "WM/Track", "TotalTracks",
        "WM/Lyrics_Synchronised", "Duration", "FileSize", "Bitrate"}) {
    if (text.startsWith(QLatin1String(prefix), Qt::CaseInsensitive)) return true;
  }
  return false;
}

}  // namespace

QList<ID3Frame> id3FramesForPieces(const QList<ID3Frame>& frames) {
  QList<ID3Frame> kept;
  for (const ID3Frame& frame : frames) {
    if (frame.tiedToAudio || isEdgeAudioFrame(frame)) continue;
    bool wholeFile = false;
    for (const char* id : kWholeFileID3Frames) wholeFile = wholeFile || frame.id == id;
    if ((frame.id == "TXXX" || frame.id == "COMM") && isWholeFileDescription(descriptionOf(frame)))
      wholeFile = true;
    if (!wholeFile) kept.append(frame);
  }
  return kept;
}

QList<QByteArray> vorbisCommentsForPieces(const QList<QByteArray>& comments) {
  QList<QByteArray> kept;
  for (const QByteArray& comment : comments) {
    const qsizetype equals = comment.indexOf('=');
    if (equals <= 0 || equals + 1 >= comment.size()) continue;  // no key or no value
    if (!isWholeFileVorbisKey(QString::fromLatin1(comment.left(equals)))) kept.append(comment);
  }
  return kept;
}

QList<WmaAttribute> wmaAttributesForPieces(const QList<WmaAttribute>& attributes) {
  QList<WmaAttribute> kept;
  for (const WmaAttribute& attribute : attributes) {
    if (attribute.value.isEmpty() || isWholeFileWmaAttribute(attribute.name)) continue;
    kept.append(attribute);
  }
  return kept;
}

}  // namespace tarvex
