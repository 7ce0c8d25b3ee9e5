#include "tags/ID3V2Writer.h"

#include <QRegularExpression>

#include "tags/ID3FrameIds.h"
#include "tags/TagText.h"

namespace tarvex {
namespace {

constexpr qsizetype kPadding = 10;

struct EncodedText {
  char encoding = 0;
  QByteArray bytes;
};

EncodedText encodeText(const QString& text) {
  if (fitsLatin1(text)) {
    return {0, text.left(kID3MaxTextBytes).toLatin1()};
  }
  // Byte order mark plus whole UTF-16 code units, never half a surrogate pair.
  const QString cut = cutToUnits(text, (kID3MaxTextBytes - 2) / 2);
  return {1, QByteArray("\xFF\xFE", 2) + toUtf16LE(cut)};
}

void appendBigEndian32(QByteArray& out, quint32 value) {
  out.append(static_cast<char>((value >> 24) & 0xFF));
  out.append(static_cast<char>((value >> 16) & 0xFF));
  out.append(static_cast<char>((value >> 8) & 0xFF));
  out.append(static_cast<char>(value & 0xFF));
}

// Version 2.3 keeps only the year ("YYYY") where later tags and other
// formats hold a whole date.
QString yearForTyer(const QString& text) {
  static const QRegularExpression leadingYear(QStringLiteral("^\\d{4}"));
  const QRegularExpressionMatch match = leadingYear.match(text);
  return match.hasMatch() ? match.captured(0) : text;
}

QByteArray frameContent(int slot, const QString& text) {
  const EncodedText encoded = encodeText(slot == kYearSlot ? yearForTyer(text) : text);
  QByteArray content;
  content.append(encoded.encoding);
  if (slot == kCommentSlot) {
    content.append("eng");
    // An empty short description, in the frame's encoding.
    if (encoded.encoding == 0) {
      content.append('\0');
    } else {
      content.append(QByteArray("\xFF\xFE\0\0", 4));
    }
  }
  content.append(encoded.bytes);
  return content;
}

}  // namespace

QByteArray buildID3V23Tag(const ID3StructV2& fields) {
  const std::array<const QString*, kID3FrameIdCount> texts = {
      &fields.title, &fields.artist, &fields.album,  &fields.track,
      &fields.year,  &fields.genre,  &fields.comment};

  QByteArray frames;
  const auto appendFrame = [&frames](const QByteArray& id, const QByteArray& content) {
    frames.append(id);
    appendBigEndian32(frames, static_cast<quint32>(content.size()));
    frames.append(2, '\0');  // frame flags
    frames.append(content);
  };
  // An empty field is left out: a frame without text is no frame at all.
  for (int slot = 0; slot < kID3FrameIdCount; ++slot) {
    if (!texts[slot]->isEmpty()) appendFrame(ID3FrameIds[slot], frameContent(slot, *texts[slot]));
  }
  // The tag's size is a 28-bit number: what would not fit is left out.
  constexpr qsizetype kFrameHeaderSize = 10;
  constexpr qsizetype kMaxBody = (qsizetype{1} << 28) - 1 - kPadding;
  for (const ID3Frame& frame : fields.others) {
    if (frame.id.size() != 4 || frame.content.isEmpty()) continue;
    if (frames.size() + kFrameHeaderSize + frame.content.size() > kMaxBody) continue;
    appendFrame(frame.id, frame.content);
  }
  if (frames.isEmpty()) return {};
  frames.append(kPadding, '\0');

  const auto size = static_cast<quint32>(frames.size());
  QByteArray tag("ID3\x03\x00\x00", 6);
  tag.append(static_cast<char>((size >> 21) & 0x7F));
  tag.append(static_cast<char>((size >> 14) & 0x7F));
  tag.append(static_cast<char>((size >> 7) & 0x7F));
  tag.append(static_cast<char>(size & 0x7F));
  return tag + frames;
}

}  // namespace tarvex
