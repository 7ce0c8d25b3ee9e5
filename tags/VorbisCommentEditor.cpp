#include "tags/VorbisCommentEditor.h"

#include <cstring>

namespace tarvex {
namespace {

constexpr long kReadChunk = 64 * 1024;
// Vorbis headers larger than this are refused rather than buffered.
constexpr qint64 kMaxHeaderBytes = 64LL * 1024 * 1024;

void appendLittleEndian32(QByteArray& out, quint32 value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.append(static_cast<char>((value >> shift) & 0xFF));
}

QByteArray packetBytes(const ogg_packet& packet) {
  return QByteArray(reinterpret_cast<const char*>(packet.packet), packet.bytes);
}

ogg_packet makePacket(const QByteArray& bytes, long number, bool first) {
  ogg_packet packet{};
  packet.packet = reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.constData()));
  packet.bytes = bytes.size();
  packet.b_o_s = first ? 1 : 0;
  packet.granulepos = 0;
  packet.packetno = number;
  return packet;
}

void setPageSequence(ogg_page& page, long sequence) {
  const auto value = static_cast<quint32>(sequence);
  for (int i = 0; i < 4; ++i) page.header[18 + i] = static_cast<unsigned char>(value >> (8 * i));
  ogg_page_checksum_set(&page);
}

}  // namespace

VorbisCommentEditor::VorbisCommentEditor() {
  ogg_sync_init(&sync_);
  vorbis_info_init(&info_);
  vorbis_comment_init(&comments_);
}

VorbisCommentEditor::~VorbisCommentEditor() {
  vorbis_comment_clear(&comments_);
  vorbis_info_clear(&info_);
  ogg_sync_clear(&sync_);
}

bool VorbisCommentEditor::fail(const QString& reason) {
  lastError_ = reason;
  return false;
}

bool VorbisCommentEditor::readPage(ogg_page& page) {
  for (;;) {
    const int result = ogg_sync_pageout(&sync_, &page);
    if (result == 1) return true;
    if (result < 0) continue;  // skipped bytes that were not a page
    char* buffer = ogg_sync_buffer(&sync_, kReadChunk);
    if (!buffer) return false;
    const qint64 got = input_->read(buffer, kReadChunk);
    if (got < 0) readFailed_ = true;
    if (got <= 0) return false;
    ogg_sync_wrote(&sync_, static_cast<long>(got));
    bytesRead_ += got;
  }
}

bool VorbisCommentEditor::open(QIODevice& input) {
  if (opened_) return fail(QStringLiteral("the stream is already open"));
  input_ = &input;
  ogg_page page;
  if (!readPage(page)) return fail(QStringLiteral("the file is not an Ogg stream"));
  if (!ogg_page_bos(&page)) return fail(QStringLiteral("the file does not start an Ogg stream"));
  serial_ = ogg_page_serialno(&page);

  ogg_stream_state stream;
  ogg_stream_init(&stream, serial_);
  int headers = 0;
  bool ok = true;
  for (;;) {
    if (ogg_page_serialno(&page) != serial_) {
      QByteArray raw(reinterpret_cast<const char*>(page.header), page.header_len);
      raw.append(reinterpret_cast<const char*>(page.body), page.body_len);
      otherPages_.append(raw);
    } else {
      const int headersBefore = headers;
      if (ogg_stream_pagein(&stream, &page) != 0) {
        ok = fail(QStringLiteral("the Vorbis headers are damaged"));
        break;
      }
      ogg_packet packet;
      int result = 0;
      while (headers < 3 && (result = ogg_stream_packetout(&stream, &packet)) != 0) {
        if (result < 0) break;
        if (headers == 0 && vorbis_synthesis_idheader(&packet) != 1) {
          ok = fail(QStringLiteral("the first stream is not Vorbis audio"));
          break;
        }
        if (vorbis_synthesis_headerin(&info_, &comments_, &packet) != 0) {
          ok = fail(QStringLiteral("the Vorbis headers are damaged"));
          break;
        }
        if (headers == 0) identificationPacket_ = packetBytes(packet);
        if (headers == 2) setupPacket_ = packetBytes(packet);
        ++headers;
      }
      if (!ok) break;
      if (result < 0) {
        ok = fail(QStringLiteral("the Vorbis headers are damaged"));
        break;
      }
      if (headers == 3) {
        // Find where the setup header ends on this page; what follows is audio.
        const int segmentCount = page.header[26];
        int endsNeeded = 3 - headersBefore;
        long bodyOffset = 0;
        int segment = 0;
        for (; segment < segmentCount && endsNeeded > 0; ++segment) {
          const int lacing = page.header[27 + segment];
          bodyOffset += lacing;
          if (lacing < 255) --endsNeeded;
        }
        if (endsNeeded > 0 || bodyOffset > page.body_len) {
          ok = fail(QStringLiteral("the Vorbis headers are damaged"));
          break;
        }
        leftoverLacing_ = QByteArray(reinterpret_cast<const char*>(page.header) + 27 + segment,
                                     segmentCount - segment);
        leftoverBody_ = QByteArray(reinterpret_cast<const char*>(page.body) + bodyOffset,
                                   page.body_len - bodyOffset);
        leftoverFlags_ = page.header[5];
        leftoverGranule_ = ogg_page_granulepos(&page);
        leftoverEndsPacket_ = false;
        for (const char lacing : leftoverLacing_) {
          if (static_cast<unsigned char>(lacing) < 255) leftoverEndsPacket_ = true;
        }
        nextInputSequence_ = ogg_page_pageno(&page) + 1;
        break;
      }
    }
    if (bytesRead_ > kMaxHeaderBytes) {
      ok = fail(QStringLiteral("the Vorbis headers are too large"));
      break;
    }
    if (!readPage(page)) {
      ok = fail(QStringLiteral("the file ends inside the Vorbis headers"));
      break;
    }
  }
  ogg_stream_clear(&stream);
  if (!ok) return false;
  vendor_ = comments_.vendor ? QByteArray(comments_.vendor) : QByteArray();
  opened_ = true;
  return true;
}

QByteArray VorbisCommentEditor::buildCommentPacket() const {
  QByteArray packet("\x03vorbis", 7);
  appendLittleEndian32(packet, static_cast<quint32>(vendor_.size()));
  packet.append(vendor_);
  const int count = comments_.comments > 0 ? comments_.comments : 0;
  appendLittleEndian32(packet, static_cast<quint32>(count));
  for (int i = 0; i < count; ++i) {
    const int length = comments_.comment_lengths[i];
    appendLittleEndian32(packet, static_cast<quint32>(length));
    packet.append(comments_.user_comments[i], length);
  }
  packet.append('\x01');  // framing bit
  return packet;
}

bool VorbisCommentEditor::writeBytes(QIODevice& output, const unsigned char* data, long size) {
  if (size <= 0) return true;
  if (output.write(reinterpret_cast<const char*>(data), size) != size) {
    return fail(output.errorString());
  }
  return true;
}

bool VorbisCommentEditor::writePage(QIODevice& output, const ogg_page& page) {
  return writeBytes(output, page.header, page.header_len) &&
         writeBytes(output, page.body, page.body_len);
}

bool VorbisCommentEditor::write(QIODevice& output) {
  if (!opened_) return fail(QStringLiteral("no Vorbis stream is open"));
  opened_ = false;  // the input is consumed by this call

  const QByteArray commentPacket = buildCommentPacket();
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial_);
  ogg_packet identification = makePacket(identificationPacket_, 0, true);
  ogg_packet comment = makePacket(commentPacket, 1, false);
  ogg_packet setup = makePacket(setupPacket_, 2, false);
  ogg_page page;
  bool ok = ogg_stream_packetin(&stream, &identification) == 0;
  while (ok && ogg_stream_flush(&stream, &page) != 0) ok = writePage(output, page);
  ok = ok && ogg_stream_packetin(&stream, &comment) == 0 &&
       ogg_stream_packetin(&stream, &setup) == 0;
  while (ok && ogg_stream_flush(&stream, &page) != 0) ok = writePage(output, page);
  long nextSequence = stream.pageno;
  ogg_stream_clear(&stream);
  if (!ok) {
    if (lastError_.isEmpty()) lastError_ = QStringLiteral("the comment header cannot be built");
    return false;
  }

  if (!leftoverLacing_.isEmpty()) {
    // The audio that shared a page with the setup header gets a page of its own.
    QByteArray header("OggS", 4);
    header.append('\0');
    header.append(static_cast<char>(leftoverFlags_ & 0x04));  // keep end of stream only
    const ogg_int64_t granule = leftoverEndsPacket_ ? leftoverGranule_ : -1;
    for (int i = 0; i < 8; ++i) header.append(static_cast<char>((granule >> (8 * i)) & 0xFF));
    for (int i = 0; i < 4; ++i) header.append(static_cast<char>((serial_ >> (8 * i)) & 0xFF));
    header.append(8, '\0');  // sequence and checksum, set below
    header.append(static_cast<char>(leftoverLacing_.size()));
    header.append(leftoverLacing_);
    ogg_page split{};
    split.header = reinterpret_cast<unsigned char*>(header.data());
    split.header_len = header.size();
    split.body = reinterpret_cast<unsigned char*>(leftoverBody_.data());
    split.body_len = leftoverBody_.size();
    setPageSequence(split, nextSequence++);
    if (!writePage(output, split)) return false;
  }
  for (const QByteArray& raw : otherPages_) {
    if (!writeBytes(output, reinterpret_cast<const unsigned char*>(raw.constData()), raw.size())) {
      return false;
    }
  }

  const long shift = nextSequence - nextInputSequence_;
  bool sameStream = true;
  while (readPage(page)) {
    if (ogg_page_bos(&page)) sameStream = false;  // a chained stream begins
    if (sameStream && shift != 0 && ogg_page_serialno(&page) == serial_) {
      setPageSequence(page, ogg_page_pageno(&page) + shift);
    }
    if (!writePage(output, page)) return false;
  }
  if (readFailed_) return fail(input_->errorString());
  return true;
}

}  // namespace tarvex
