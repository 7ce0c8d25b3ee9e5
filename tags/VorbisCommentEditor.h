#pragma once

#include <ogg/ogg.h>
#include <vorbis/codec.h>

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

namespace tarvex {

// Edits the comment header of an Ogg Vorbis stream without touching the
// audio: open() reads the three Vorbis header packets of the first logical
// stream, the caller changes comments(), and write() emits new header pages
// followed by every remaining page of the input, byte for byte except for the
// page sequence numbers (and checksums) of the edited stream, which are
// shifted when the header now takes a different number of pages.
class VorbisCommentEditor {
 public:
  VorbisCommentEditor();
  ~VorbisCommentEditor();
  VorbisCommentEditor(const VorbisCommentEditor&) = delete;
  VorbisCommentEditor& operator=(const VorbisCommentEditor&) = delete;

  // Reads up to the end of the Vorbis headers. False with lastError() set
  // when the input is not an Ogg Vorbis stream or its headers are damaged.
  bool open(QIODevice& input);

  // The comment block; valid after a successful open(). Its vendor text is
  // kept aside, so clearing the block keeps the stream's vendor.
  vorbis_comment& comments() { return comments_; }

  // Writes the whole stream with the current comments; reads the rest of the
  // input given to open(). False with lastError() set on failure.
  bool write(QIODevice& output);

  const QString& lastError() const { return lastError_; }

 private:
  bool readPage(ogg_page& page);
  bool fail(const QString& reason);
  QByteArray buildCommentPacket() const;
  bool writeBytes(QIODevice& output, const unsigned char* data, long size);
  bool writePage(QIODevice& output, const ogg_page& page);

  QIODevice* input_ = nullptr;
  ogg_sync_state sync_{};
  vorbis_info info_{};
  vorbis_comment comments_{};
  QString lastError_;
  bool opened_ = false;
  int serial_ = 0;
  QByteArray vendor_;
  QByteArray identificationPacket_;
  QByteArray setupPacket_;
  // Segments of the last header page that follow the setup header (the start
  // of the audio), with that page's flags and granule position.
  QByteArray leftoverLacing_;
  QByteArray leftoverBody_;
  unsigned char leftoverFlags_ = 0;
  ogg_int64_t leftoverGranule_ = -1;
  bool leftoverEndsPacket_ = false;
  long nextInputSequence_ = 0;
  // Pages of other logical streams met while the headers were read.
  QList<QByteArray> otherPages_;
  qint64 bytesRead_ = 0;
  bool readFailed_ = false;
};

}  // namespace tarvex
