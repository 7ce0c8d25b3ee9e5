#include "tags/ID3V2Reader.h"

#include <array>

#include "components/audio/mp3frames/Id3v2Size.h"
#include "tags/GenreNames.h"
#include "tags/ID3FrameIds.h"
#include "tags/ID3TextCodec.h"
#include "tags/ID3V23Frames.h"
#include "tags/TagText.h"

namespace tarvex {
namespace {

constexpr qint64 kHeaderSize = 10;

unsigned byteAt(const QByteArray& bytes, qsizetype index) {
  return static_cast<unsigned char>(bytes[index]);
}

bool isSyncsafe(const QByteArray& bytes, qsizetype at) {
  return ((byteAt(bytes, at) | byteAt(bytes, at + 1) | byteAt(bytes, at + 2) |
           byteAt(bytes, at + 3)) &
          0x80) == 0;
}

quint32 syncsafeAt(const QByteArray& bytes, qsizetype at) {
  return (byteAt(bytes, at) << 21) | (byteAt(bytes, at + 1) << 14) | (byteAt(bytes, at + 2) << 7) |
         byteAt(bytes, at + 3);
}

quint32 bigEndianAt(const QByteArray& bytes, qsizetype at) {
  return (byteAt(bytes, at) << 24) | (byteAt(bytes, at + 1) << 16) | (byteAt(bytes, at + 2) << 8) |
         byteAt(bytes, at + 3);
}

// Undoes the unsynchronisation scheme: every 0xFF 0x00 pair loses its 0x00.
QByteArray removeUnsynchronisation(const QByteArray& in) {
  QByteArray out;
  out.reserve(in.size());
  for (qsizetype i = 0; i < in.size(); ++i) {
    out.append(in[i]);
    if (byteAt(in, i) == 0xFF && i + 1 < in.size() && in[i + 1] == '\0') ++i;
  }
  return out;
}

// A text frame: encoding byte, then the text (the first of several values).
QString decodeTextFrame(const QByteArray& content) {
  if (content.isEmpty()) return {};
  const unsigned encoding = byteAt(content, 0);
  if (encoding > 3) {
    // No encoding byte at all: the frame holds plain text.
    return QString::fromLatin1(content.left(id3TerminatorAt(content, 0, 0)));
  }
  const qsizetype end = id3TerminatorAt(content, 1, encoding);
  return decodeID3String(content.mid(1, end - 1), encoding);
}

struct CommentFrame {
  QString description;
  QString text;
};

// "COMM": encoding byte, language, short description, text. The comment is
// the text; the description only labels it.
CommentFrame decodeCommentFrame(const QByteArray& content) {
  if (content.size() < 4) return {};
  const unsigned encoding = byteAt(content, 0);
  if (encoding > 3) return {};
  const qsizetype descriptionEnd = id3TerminatorAt(content, 4, encoding);
  CommentFrame frame;
  frame.description = decodeID3String(content.mid(4, descriptionEnd - 4), encoding);
  const qsizetype textStart = descriptionEnd + id3TerminatorLength(encoding);
  if (textStart >= content.size()) return frame;
  const qsizetype textEnd = id3TerminatorAt(content, textStart, encoding);
  frame.text = decodeID3String(content.mid(textStart, textEnd - textStart), encoding);
  return frame;
}

// How well a comment frame serves as the file's comment: the one without a
// description is the comment users write; other described ones come next;
// the players' own data blocks ("iTunNORM", "iTunSMPB", ...) never.
int commentRank(const CommentFrame& frame) {
  if (frame.text.isEmpty()) return 0;
  if (frame.description.isEmpty()) return 3;
  if (frame.description.startsWith(QLatin1String("iTun"))) return 0;
  return 2;
}

// The frame's text bytes once its format flags are applied, or false when the
// frame cannot be read (compressed, encrypted or malformed).
bool unpackFrameContent(int majorVersion, bool tagUnsynchronised, unsigned frameFlags,
                        QByteArray& content) {
  if (majorVersion == 2) return true;  // version 2.2 frames carry no flags
  if (majorVersion == 3) {
    if (frameFlags & 0x00C0) return false;          // compressed or encrypted
    if (frameFlags & 0x0020) content.remove(0, 1);  // grouping identity
    return true;
  }
  if (frameFlags & 0x000C) return false;  // compressed or encrypted
  if ((frameFlags & 0x0002) || tagUnsynchronised) content = removeUnsynchronisation(content);
  if (frameFlags & 0x0040) {
    if (content.isEmpty()) return false;
    content.remove(0, 1);
  }
  if (frameFlags & 0x0001) {
    if (content.size() < 4) return false;
    content.remove(0, 4);
  }
  return true;
}

// Offset of the first frame after the extended header, or -1 when the
// extended header is malformed.
qsizetype firstFrameOffset(int majorVersion, unsigned tagFlags, const QByteArray& body) {
  if (!(tagFlags & 0x40)) return 0;
  if (majorVersion == 2) return -1;  // in version 2.2 the flag means a compressed tag
  if (body.size() < 4) return -1;
  if (majorVersion == 3) {
    const quint32 size = bigEndianAt(body, 0);
    if (size > static_cast<quint64>(body.size()) - 4) return -1;
    return 4 + static_cast<qsizetype>(size);
  }
  if (!isSyncsafe(body, 0)) return -1;
  const quint32 size = syncsafeAt(body, 0);
  if (size < 6 || size > static_cast<quint64>(body.size())) return -1;
  return static_cast<qsizetype>(size);
}

}  // namespace

ID3V2Frames readID3V2Frames(QIODevice& device) {
  ID3V2Frames result;
  if (!device.seek(0)) return result;
  const QByteArray header = device.read(kHeaderSize);
  if (header.size() < kHeaderSize || !header.startsWith("ID3")) return result;
  const int majorVersion = static_cast<int>(byteAt(header, 3));
  if (majorVersion < 2 || majorVersion > 4) return result;
  const auto extent = mp3frames::id3v2Extent(
      reinterpret_cast<const unsigned char*>(header.constData()), kHeaderSize);
  if (!extent) return result;
  const unsigned tagFlags = byteAt(header, 5);
  const auto bodySize = static_cast<qint64>(extent->body);
  if (kHeaderSize + bodySize > device.size()) return result;

  QByteArray body = device.read(bodySize);
  if (body.size() != bodySize) return result;
  const bool unsynchronised = (tagFlags & 0x80) != 0;
  if (majorVersion < 4 && unsynchronised) body = removeUnsynchronisation(body);

  qsizetype position = firstFrameOffset(majorVersion, tagFlags, body);
  if (position < 0) return result;
  result.majorVersion = majorVersion;

  // Version 2.2 frames: a three-letter id and a 24-bit size; later versions:
  // four letters, 32 bits (syncsafe in 2.4) and two flag bytes.
  const bool threeLetterIds = majorVersion == 2;
  const qsizetype frameHeaderSize = threeLetterIds ? 6 : 10;
  while (position + frameHeaderSize <= body.size()) {
    if (body[position] == '\0') break;  // padding
    ID3V2Frame frame;
    quint32 size = 0;
    if (threeLetterIds) {
      frame.id = body.mid(position, 3);
      size = bigEndianAt(body, position + 2) & 0x00FFFFFFu;
    } else {
      frame.id = body.mid(position, 4);
      if (majorVersion == 4) {
        if (!isSyncsafe(body, position + 4)) break;
        size = syncsafeAt(body, position + 4);
      } else {
        size = bigEndianAt(body, position + 4);
      }
      frame.flags = (byteAt(body, position + 8) << 8) | byteAt(body, position + 9);
    }
    position += frameHeaderSize;
    if (size > static_cast<quint64>(body.size() - position)) break;  // runs past the tag
    frame.content = body.mid(position, size);
    position += size;
    // Compressed, encrypted or malformed frames cannot be read and are left out.
    if (!unpackFrameContent(majorVersion, unsynchronised, frame.flags, frame.content)) continue;
    result.frames.append(std::move(frame));
  }
  return result;
}

qsizetype fileCommentFrame(const ID3V2Frames& tag) {
  const QByteArray commentId = tag.majorVersion == 2 ? QByteArray("COM") : QByteArray("COMM");
  qsizetype best = -1;
  int bestRank = 0;
  for (qsizetype i = 0; i < tag.frames.size(); ++i) {
    if (tag.frames[i].id != commentId) continue;
    const int rank = commentRank(decodeCommentFrame(tag.frames[i].content));
    if (rank > bestRank) {
      bestRank = rank;
      best = i;
    }
  }
  return best;
}

ID3StructV2 parseID3V2Tag(QIODevice& device) {
  const ID3V2Frames tag = readID3V2Frames(device);
  const bool threeLetterIds = tag.majorVersion == 2;
  std::array<QString, kID3FrameIdCount> texts;
  const qsizetype comment = fileCommentFrame(tag);
  if (comment >= 0) texts[kCommentSlot] = decodeCommentFrame(tag.frames[comment].content).text;
  for (const ID3V2Frame& frame : tag.frames) {
    const int slot = id3FrameSlot(frame.id, threeLetterIds);
    if (slot >= 0 && slot != kCommentSlot) texts[slot] = decodeTextFrame(frame.content);
  }

  ID3StructV2 result;
  result.title = trimTagText(texts[0]);
  result.artist = trimTagText(texts[1]);
  result.album = trimTagText(texts[2]);
  result.track = trimTagText(texts[3]);
  result.year = trimTagText(texts[4]);
  result.genre = genreFromID3Text(trimTagText(texts[5]));
  result.comment = trimTagText(texts[6]);
  result.others = otherID3V23Frames(tag, comment);
  return result;
}

qint64 leadingID3V2TagLength(const QByteArray& head, qint64 fileSize) {
  if (head.size() < kHeaderSize || !head.startsWith("ID3")) return 0;
  const unsigned majorVersion = byteAt(head, 3);
  if (majorVersion < 2 || majorVersion > 4) return 0;
  const auto length = static_cast<qint64>(mp3frames::id3v2TagBytes(
      reinterpret_cast<const unsigned char*>(head.constData()), kHeaderSize));
  return length <= fileSize ? length : 0;
}

}  // namespace tarvex
