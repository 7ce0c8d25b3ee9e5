#include "tags/OggComments.h"

#include <QFile>
#include <QSet>

#include "tags/SafeFileWrite.h"
#include "tags/TagError.h"
#include "tags/TagText.h"
#include "tags/VorbisCommentEditor.h"

namespace tarvex {
namespace {

QString openError(const QString& path, const QString& reason) {
  return QStringLiteral("Cannot open ") + path + QStringLiteral(": ") + reason;
}

// The keys of the fields, lower-cased.
constexpr std::pair<const char*, QString OGGTag::*> kFieldKeys[] = {
    {"album", &OGGTag::album},
    {"title", &OGGTag::title},
    {"artist", &OGGTag::artist},
    {"comment", &OGGTag::comment},
    {"genre", &OGGTag::genre},
    {"date", &OGGTag::date},
    {"tracknumber", &OGGTag::trackNumber}};

bool isFieldKey(const QString& name) {
  const QString key = name.toLower();
  for (const auto& field : kFieldKeys) {
    if (key == QLatin1String(field.first)) return true;
  }
  return false;
}

void openEditor(const QString& path, QFile& file, VorbisCommentEditor& editor) {
  if (!file.open(QIODevice::ReadOnly)) throw TagError(openError(path, file.errorString()));
  if (!editor.open(file)) throw TagError(openError(path, editor.lastError()));
}

}  // namespace

TStrComment splitComment(const QByteArray& raw) {
  TStrComment comment;
  const qsizetype equals = raw.indexOf('=');
  bool hasName = equals >= 0;
  for (qsizetype i = 0; hasName && i < equals; ++i) {
    const auto byte = static_cast<unsigned char>(raw[i]);
    if (byte < 0x20 || byte > 0x7D) hasName = false;
  }
  if (hasName) {
    comment.name = QString::fromLatin1(raw.left(equals));
    comment.value = QString::fromUtf8(raw.mid(equals + 1));
    comment.text = comment.name + QLatin1Char('=') + comment.value;
  } else {
    comment.value = QString::fromUtf8(raw);
    comment.text = comment.value;
  }
  return comment;
}

OGGTag oggTagFromComments(const TStrComments& comments) {
  OGGTag tag;
  QSet<QString> seen;
  for (const TStrComment& comment : comments) {
    const QString key = comment.name.toLower();
    for (const auto& [name, field] : kFieldKeys) {
      if (key == QLatin1String(name)) {
        if (!seen.contains(key)) tag.*field = comment.value;
        seen.insert(key);
        break;
      }
    }
  }
  for (QString* field : {&tag.album, &tag.title, &tag.artist, &tag.comment, &tag.genre, &tag.date,
                         &tag.trackNumber}) {
    *field = trimTagText(*field);
  }
  return tag;
}

QList<QByteArray> commentsToWrite(const OGGTag& tag) {
  const std::pair<const char*, const QString*> order[] = {
      {"Title=", &tag.title},    {"Artist=", &tag.artist},
      {"Album=", &tag.album},    {"TrackNumber=", &tag.trackNumber},
      {"Date=", &tag.date},      {"Genre=", &tag.genre},
      {"Comment=", &tag.comment}};
  QList<QByteArray> result;
  for (const auto& [key, value] : order) {
    if (!value->isEmpty()) result.append(QByteArray(key) + value->toUtf8());
  }
  result.append(tag.others);
  return result;
}

void ReadOggComments(const QString& path, OGGTag& tag) {
  tag = {};
  QFile file(path);
  VorbisCommentEditor editor;
  openEditor(path, file, editor);
  const vorbis_comment& block = editor.comments();
  TStrComments comments;
  QList<QByteArray> others;
  for (int i = 0; i < block.comments; ++i) {
    const QByteArray raw(block.user_comments[i], block.comment_lengths[i]);
    comments.append(splitComment(raw));
    if (!isFieldKey(comments.back().name)) others.append(raw);
  }
  tag = oggTagFromComments(comments);
  tag.others = others;
}

bool WriteOggComments(const QString& path, const OGGTag& tag) {
  QFile input(path);
  VorbisCommentEditor editor;
  openEditor(path, input, editor);

  vorbis_comment& block = editor.comments();
  vorbis_comment_clear(&block);
  vorbis_comment_init(&block);
  for (const QByteArray& comment : commentsToWrite(tag)) {
    vorbis_comment_add(&block, comment.constData());
  }

  const QString errorPrefix = QStringLiteral("Cannot write comments: ");
  replaceFileAtomically(path, errorPrefix, [&](QIODevice& out) {
    if (!editor.write(out)) throw TagError(errorPrefix + editor.lastError());
  });
  return true;
}

}  // namespace tarvex
