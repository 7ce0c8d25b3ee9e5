// Writes one small valid input per fuzz target into <folder>/<target>/seed,
// so that each run starts from a well-formed file and mutates from there.
#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdio>

#include "tags/ID3V2Writer.h"

namespace {

bool writeSeed(const QString& folder, const QString& target, const QByteArray& bytes) {
  QDir().mkpath(folder + "/" + target);
  QFile file(folder + "/" + target + "/seed");
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray oggVorbisSeed() {
  QByteArray out;
  auto append = [&out](const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
  };
  vorbis_info info;
  vorbis_info_init(&info);
  vorbis_encode_init_vbr(&info, 1, 8000, 0.0f);
  vorbis_comment comments;
  vorbis_comment_init(&comments);
  vorbis_comment_add(&comments, "TITLE=Seed");
  vorbis_comment_add(&comments, "artist=Someone");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 7);
  ogg_packet identification, comment, setup;
  vorbis_analysis_headerout(&dsp, &comments, &identification, &comment, &setup);
  ogg_stream_packetin(&stream, &identification);
  ogg_stream_packetin(&stream, &comment);
  ogg_stream_packetin(&stream, &setup);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page)) append(page);
  const int frames = 800;
  float** buffer = vorbis_analysis_buffer(&dsp, frames);
  for (int i = 0; i < frames; ++i) buffer[0][i] = 0.3f * std::sin(i * 0.3f);
  vorbis_analysis_wrote(&dsp, frames);
  vorbis_analysis_wrote(&dsp, 0);
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    ogg_packet packet;
    while (vorbis_bitrate_flushpacket(&dsp, &packet)) ogg_stream_packetin(&stream, &packet);
  }
  while (ogg_stream_flush(&stream, &page)) append(page);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comments);
  vorbis_info_clear(&info);
  return out;
}

QByteArray littleEndian(quint64 value, int bytes) {
  QByteArray out;
  for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

QByteArray asfFallbackSeed() {
  auto descriptor = [](int type, const QByteArray& name, const QByteArray& value) {
    QByteArray out = littleEndian(type, 1) + QByteArray(4, '\0') + littleEndian(name.size(), 2) +
                     littleEndian(value.size(), 2);
    for (char c : name) out.append(c).append('\0');
    for (char c : value) out.append(c).append('\0');
    return out;
  };
  const QByteArray body = littleEndian(3, 2) + descriptor(2, "", "Title") +
                          descriptor(1, "", "Artist") + descriptor(100, "WM/Track", "3");
  const QByteArray object = QByteArray::fromHex("D529E2D6DA35D111903400A0C90349BE") +
                            littleEndian(body.size() + 24, 8) + body;
  return QByteArray::fromHex("D129E2D6DA35D111903400A0C90349BE") + littleEndian(object.size(), 8) +
         object;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_tags_seeds <folder>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  tarvex::ID3StructV2 fields;
  fields.title = "Seed";
  fields.artist = QString::fromUtf16(u"Жук");
  fields.comment = "Note";
  QByteArray v1(128, '\0');
  v1.replace(0, 3, "TAG");
  v1.replace(3, 4, "Seed");
  const bool ok =
      writeSeed(folder, "fuzz_id3v2", tarvex::buildID3V23Tag(fields) + QByteArray(64, '\x55')) &&
      writeSeed(folder, "fuzz_id3v1", QByteArray(16, '\x55') + v1) &&
      writeSeed(folder, "fuzz_vorbis_comments", oggVorbisSeed()) &&
      writeSeed(folder, "fuzz_asf_fallback", asfFallbackSeed());
  return ok ? 0 : 1;
}
