#include "tests/tags/TestFiles.h"

#include <gtest/gtest.h>
#include <lame/lame.h>
#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QDir>
#include <QFile>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace tarvex::testing {

QByteArray readBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read test file");
  return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    throw std::runtime_error("cannot write test file");
  }
}

QStringList folderEntries(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

namespace {

float toneSample(int index, int rate) {
  return 0.5f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 440.0 * index / rate));
}

}  // namespace

QByteArray makeMp3Tone(double seconds) {
  constexpr int kRate = 44100;
  const int frames = static_cast<int>(seconds * kRate);
  std::vector<short> pcm(frames);
  for (int i = 0; i < frames; ++i) pcm[i] = static_cast<short>(toneSample(i, kRate) * 32767);
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, kRate);
  lame_set_num_channels(lame, 1);
  lame_set_mode(lame, MONO);
  lame_set_brate(lame, 64);
  lame_set_bWriteVbrTag(lame, 0);
  if (lame_init_params(lame) < 0) throw std::runtime_error("lame_init_params failed");
  std::vector<unsigned char> out(frames + frames / 4 + 7200 * 2);
  int size = lame_encode_buffer(lame, pcm.data(), pcm.data(), frames, out.data(),
                                static_cast<int>(out.size()));
  if (size < 0) throw std::runtime_error("lame_encode_buffer failed");
  const int tail = lame_encode_flush(lame, out.data() + size, static_cast<int>(out.size()) - size);
  lame_close(lame);
  if (tail < 0) throw std::runtime_error("lame_encode_flush failed");
  return QByteArray(reinterpret_cast<const char*>(out.data()), size + tail);
}

void makeOggVorbis(const QString& path, const QList<QByteArray>& comments, bool sharedHeaderPage,
                   double seconds) {
  constexpr int kRate = 44100;
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot create ogg test file");
  auto writePage = [&](const ogg_page& page) {
    file.write(reinterpret_cast<const char*>(page.header), page.header_len);
    file.write(reinterpret_cast<const char*>(page.body), page.body_len);
  };

  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, kRate, 0.3f) != 0) throw std::runtime_error("vorbisenc");
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  for (const QByteArray& comment : comments) vorbis_comment_add(&vc, comment.constData());
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 0x1234);
  ogg_packet identification, comment, setup;
  vorbis_analysis_headerout(&dsp, &vc, &identification, &comment, &setup);
  ogg_stream_packetin(&stream, &identification);
  ogg_stream_packetin(&stream, &comment);
  ogg_stream_packetin(&stream, &setup);
  ogg_page page;
  if (!sharedHeaderPage) {
    while (ogg_stream_flush(&stream, &page)) writePage(page);
  }

  auto drainBlocks = [&] {
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page)) writePage(page);
      }
    }
  };
  const int frames = static_cast<int>(seconds * kRate);
  constexpr int kChunk = 1024;
  for (int done = 0; done < frames; done += kChunk) {
    const int count = std::min(kChunk, frames - done);
    float** buffer = vorbis_analysis_buffer(&dsp, count);
    for (int i = 0; i < count; ++i) buffer[0][i] = toneSample(done + i, kRate);
    vorbis_analysis_wrote(&dsp, count);
    drainBlocks();
  }
  vorbis_analysis_wrote(&dsp, 0);
  drainBlocks();
  while (ogg_stream_flush(&stream, &page)) writePage(page);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&info);
}

void makeWma(const QString& path, double seconds) {
  constexpr int kRate = 44100;
  AVFormatContext* format = nullptr;
  const QByteArray name = QFile::encodeName(path);
  if (avformat_alloc_output_context2(&format, nullptr, "asf", name.constData()) < 0) {
    throw std::runtime_error("asf muxer missing");
  }
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
  if (!codec) throw std::runtime_error("wmav2 encoder missing");
  AVStream* stream = avformat_new_stream(format, nullptr);
  AVCodecContext* context = avcodec_alloc_context3(codec);
  context->sample_rate = kRate;
  context->sample_fmt = AV_SAMPLE_FMT_FLTP;
  av_channel_layout_default(&context->ch_layout, 1);
  context->bit_rate = 64000;
  if (format->oformat->flags & AVFMT_GLOBALHEADER) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(context, codec, nullptr) < 0) throw std::runtime_error("wmav2 open");
  avcodec_parameters_from_context(stream->codecpar, context);
  stream->time_base = AVRational{1, kRate};
  if (avio_open(&format->pb, name.constData(), AVIO_FLAG_WRITE) < 0) {
    throw std::runtime_error("cannot create wma test file");
  }
  if (avformat_write_header(format, nullptr) < 0) throw std::runtime_error("asf header");

  AVPacket* packet = av_packet_alloc();
  auto drain = [&] {
    while (avcodec_receive_packet(context, packet) == 0) {
      av_packet_rescale_ts(packet, context->time_base, stream->time_base);
      packet->stream_index = stream->index;
      av_interleaved_write_frame(format, packet);
    }
  };
  const int total = static_cast<int>(seconds * kRate);
  AVFrame* frame = av_frame_alloc();
  for (int done = 0; done < total; done += context->frame_size) {
    frame->nb_samples = context->frame_size;
    frame->format = context->sample_fmt;
    av_channel_layout_copy(&frame->ch_layout, &context->ch_layout);
    av_frame_get_buffer(frame, 0);
    auto* samples = reinterpret_cast<float*>(frame->data[0]);
    for (int i = 0; i < frame->nb_samples; ++i) samples[i] = toneSample(done + i, kRate);
    frame->pts = done;
    avcodec_send_frame(context, frame);
    drain();
    av_frame_unref(frame);
  }
  avcodec_send_frame(context, nullptr);
  drain();
  av_write_trailer(format);
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&context);
  avio_closep(&format->pb);
  avformat_free_context(format);
}

OggPackets readOggPackets(const QString& path) {
  OggPackets result;
  const QByteArray bytes = readBytes(path);
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, bytes.size());
  memcpy(buffer, bytes.constData(), bytes.size());
  ogg_sync_wrote(&sync, bytes.size());
  ogg_stream_state stream;
  bool started = false;
  long expectedSequence = 0;
  ogg_page page;
  int result_code = 0;
  bool headersDone = false;
  while ((result_code = ogg_sync_pageout(&sync, &page)) != 0) {
    if (result_code < 0) {
      result.pagesIntact = false;  // bytes skipped: a bad checksum or garbage
      continue;
    }
    if (!started) {
      ogg_stream_init(&stream, ogg_page_serialno(&page));
      started = true;
    }
    if (ogg_page_serialno(&page) != stream.serialno) continue;
    if (ogg_page_pageno(&page) != expectedSequence) result.pagesIntact = false;
    expectedSequence = ogg_page_pageno(&page) + 1;
    ogg_stream_pagein(&stream, &page);
    ogg_packet packet;
    int out = 0;
    while ((out = ogg_stream_packetout(&stream, &packet)) != 0) {
      if (out < 0) {
        result.pagesIntact = false;
        continue;
      }
      result.packets.append(QByteArray(reinterpret_cast<const char*>(packet.packet), packet.bytes));
      result.granules.append(packet.granulepos);
    }
    if (!headersDone) {
      ++result.headerPages;
      headersDone = result.packets.size() >= 3;
    }
  }
  if (started) ogg_stream_clear(&stream);
  ogg_sync_clear(&sync);
  return result;
}

}  // namespace tarvex::testing
