#include "tags/ID3Chapters.h"

#include <QSet>
#include <algorithm>

#include "tags/ID3TextCodec.h"
#include "tags/ID3V2Reader.h"

namespace tarvex {
namespace {

constexpr quint32 kUnsetOffset = 0xFFFFFFFFu;

quint32 bigEndianAt(const QByteArray& bytes, qsizetype at) {
  return (static_cast<quint32>(static_cast<unsigned char>(bytes[at])) << 24) |
         (static_cast<quint32>(static_cast<unsigned char>(bytes[at + 1])) << 16) |
         (static_cast<quint32>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
         static_cast<quint32>(static_cast<unsigned char>(bytes[at + 3]));
}

void appendBigEndian(QByteArray& out, quint32 value) {
  out.append(static_cast<char>((value >> 24) & 0xFF));
  out.append(static_cast<char>((value >> 16) & 0xFF));
  out.append(static_cast<char>((value >> 8) & 0xFF));
  out.append(static_cast<char>(value & 0xFF));
}

// A zero-terminated element id from `at`; `at` moves past it. Empty and
// `at` = -1 when no terminator follows.
QByteArray elementIdAt(const QByteArray& content, qsizetype& at) {
  const qsizetype end = content.indexOf('\0', at);
  if (end < 0) {
    at = -1;
    return {};
  }
  QByteArray id = content.mid(at, end - at);
  at = end + 1;
  return id;
}

// The title in the sub-frames of a CHAP or CTOC from `at`: the first TIT2
// (TT2 in version 2.2). Sizes are syncsafe in version 2.4.
QString subFrameTitle(const QByteArray& content, qsizetype at, int majorVersion) {
  const bool threeLetterIds = majorVersion == 2;
  const qsizetype headerSize = threeLetterIds ? 6 : 10;
  while (at + headerSize <= content.size()) {
    const QByteArray id = content.mid(at, threeLetterIds ? 3 : 4);
    quint32 size = 0;
    if (threeLetterIds) {
      size = bigEndianAt(content, at + 2) & 0x00FFFFFFu;
    } else if (majorVersion == 4) {
      const quint32 raw = bigEndianAt(content, at + 4);
      if (raw & 0x80808080u) return {};
      size = ((raw >> 24) << 21) | (((raw >> 16) & 0x7F) << 14) | (((raw >> 8) & 0x7F) << 7) |
             (raw & 0x7F);
    } else {
      size = bigEndianAt(content, at + 4);
    }
    at += headerSize;
    if (size > static_cast<quint64>(content.size() - at)) return {};
    if ((id == "TIT2" || id == "TT2") && size >= 1) {
      const QByteArray text = content.mid(at, size);
      const unsigned encoding = static_cast<unsigned char>(text[0]);
      if (encoding > 3) return {};
      const qsizetype end = id3TerminatorAt(text, 1, encoding);
      return decodeID3String(text.mid(1, end - 1), encoding).trimmed();
    }
    at += size;
  }
  return {};
}

struct TableOfContents {
  QByteArray elementId;
  bool topLevel = false;
  QList<QByteArray> children;
};

TableOfContents tableOf(const QByteArray& content) {
  TableOfContents table;
  qsizetype at = 0;
  table.elementId = elementIdAt(content, at);
  if (at < 0 || at + 2 > content.size()) return {};
  table.topLevel = (static_cast<unsigned char>(content[at]) & 0x02) != 0;
  const int count = static_cast<unsigned char>(content[at + 1]);
  at += 2;
  for (int i = 0; i < count && at >= 0 && at < content.size(); ++i) {
    const QByteArray child = elementIdAt(content, at);
    if (at >= 0) table.children << child;
  }
  return table;
}

}  // namespace

QList<ID3Chapter> id3ChaptersOf(const ID3V2Frames& tag) {
  const QByteArray chapId = tag.majorVersion == 2 ? QByteArray("CHP") : QByteArray("CHAP");
  const QByteArray tocId = tag.majorVersion == 2 ? QByteArray("CTO") : QByteArray("CTOC");
  QList<ID3Chapter> inTagOrder;
  QList<TableOfContents> tables;
  for (const ID3V2Frame& frame : tag.frames) {
    if (frame.id == tocId) {
      tables << tableOf(frame.content);
      continue;
    }
    if (frame.id != chapId) continue;
    qsizetype at = 0;
    ID3Chapter chapter;
    chapter.elementId = elementIdAt(frame.content, at);
    if (at < 0 || at + 16 > frame.content.size()) continue;
    chapter.startMs = bigEndianAt(frame.content, at);
    chapter.endMs = bigEndianAt(frame.content, at + 4);
    chapter.title = subFrameTitle(frame.content, at + 16, tag.majorVersion);
    inTagOrder << chapter;
  }

  // The table's order: the top-level table, its nested tables walked in place.
  QList<QByteArray> order;
  QSet<QByteArray> visited;
  const auto walk = [&](const auto& self, const TableOfContents& table) -> void {
    if (visited.contains(table.elementId)) return;  // a table naming itself
    visited.insert(table.elementId);
    for (const QByteArray& child : table.children) {
      bool nested = false;
      for (const TableOfContents& other : tables) {
        if (other.elementId == child) {
          self(self, other);
          nested = true;
          break;
        }
      }
      if (!nested) order << child;
    }
  };
  for (const TableOfContents& table : tables) {
    if (table.topLevel) walk(walk, table);
  }

  QList<ID3Chapter> result;
  QSet<QByteArray> taken;
  for (const QByteArray& id : order) {
    if (taken.contains(id)) continue;
    for (const ID3Chapter& chapter : inTagOrder) {
      if (chapter.elementId == id) {
        result << chapter;
        taken.insert(id);
        break;
      }
    }
  }
  for (const ID3Chapter& chapter : inTagOrder) {
    if (!taken.contains(chapter.elementId)) result << chapter;
  }
  return result;
}

QList<ID3Chapter> readID3Chapters(QIODevice& device) {
  return id3ChaptersOf(readID3V2Frames(device));
}

QList<ID3Frame> id3ChapterFrames(const QList<ID3Chapter>& chapters) {
  QList<ID3Frame> frames;
  if (chapters.isEmpty()) return frames;
  QByteArray toc("toc");
  toc.append('\0');
  toc.append(static_cast<char>(0x03));  // top-level, ordered
  toc.append(static_cast<char>(std::min<qsizetype>(chapters.size(), 255)));
  for (qsizetype i = 0; i < chapters.size() && i < 255; ++i) {
    const QByteArray elementId = QByteArray("chp") + QByteArray::number(i);
    QByteArray content = elementId;
    content.append('\0');
    appendBigEndian(content, static_cast<quint32>(chapters[i].startMs));
    appendBigEndian(content, static_cast<quint32>(chapters[i].endMs));
    appendBigEndian(content, kUnsetOffset);
    appendBigEndian(content, kUnsetOffset);
    if (!chapters[i].title.isEmpty()) {
      const char encoding = id3V23EncodingFor({chapters[i].title});
      QByteArray text(1, encoding);
      text.append(encodeID3String(chapters[i].title, encoding, false));
      content.append("TIT2");
      appendBigEndian(content, static_cast<quint32>(text.size()));
      content.append(2, '\0');
      content.append(text);
    }
    frames.append(ID3Frame{"CHAP", content, false});
    toc.append(elementId);
    toc.append('\0');
  }
  frames.append(ID3Frame{"CTOC", toc, false});
  return frames;
}

}  // namespace tarvex
