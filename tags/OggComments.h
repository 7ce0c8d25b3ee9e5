#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tarvex {

class VorbisCommentEditor;

// The Vorbis comments the program knows about. Empty means absent.
struct OGGTag {
  QString album;
  QString title;
  QString artist;
  QString comment;
  QString genre;
  QString date;
  QString trackNumber;
  // Every other comment (pictures, composer, disc number, ...), raw
  // "KEY=value" bytes, written after the fields in the order read.
  QList<QByteArray> others;
};

// One comment of a file: the key (empty when the comment has none), the value
// and the whole text.
struct TStrComment {
  QString name;
  QString value;
  QString text;
};
using TStrComments = QList<TStrComment>;

// Splits one raw comment: the key is the text before the first "=" when every
// byte before it lies in 0x20 to 0x7D; otherwise the whole comment is the
// value. The value is UTF-8.
TStrComment splitComment(const QByteArray& raw);

// Maps comments onto the record by their lower-cased keys; of a key given
// more than once the first value counts. Fields are trimmed.
OGGTag oggTagFromComments(const TStrComments& comments);

// The comments to write, in order, each only when its field is not empty,
// then the others.
QList<QByteArray> commentsToWrite(const OGGTag& tag);

// Fills tag from the file's Vorbis comments; the comments whose keys are none
// of the fields' go to tag.others. Throws TagError
// ("Cannot open <file>: <reason>") when the file or its headers cannot be read.
// The file is only read.
void ReadOggComments(const QString& path, OGGTag& tag);

// Replaces all comments of the file by the record's fields and others, leaving the audio
// untouched. The file is rewritten through a temporary file in the same folder
// and renamed over the original only when complete. Returns true when the
// file was rewritten; throws TagError ("Cannot open <file>: <reason>" or
// "Cannot write comments: <reason>") otherwise, leaving the file unchanged.
bool WriteOggComments(const QString& path, const OGGTag& tag);

}  // namespace tarvex
