// Writes a small valid input for every engine fuzz target into
// <corpus>/<target>/, to start each corpus from.
#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdio>

#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

// A short tone through our writer; returns the file's bytes.
QByteArray toneFile(const QString& path, int format) {
  tarvex::AudioFile2 writer;
  writer.setActive(true);
  tarvex::Mp3LameEncoder encoder;
  encoder.setSampleRate(22050);
  encoder.setChannels(1);
  encoder.setBitrate(32);
  switch (format) {
    case 0: writer.SetMp3Encoder(encoder); break;
    case 1: writer.SetOggFormat(22050, 1, 0, 0, 0, 100); break;
    case 2: writer.SetWmaFormat(26); break;
    default: writer.SetWavFormat(8000, 1, 16); break;
  }
  writer.SetPcmFormat(22050, 1);
  writer.CreateWrite(path, 0);
  tarvex::SampleBlock block;
  block.values.resize(4410);
  for (size_t i = 0; i < block.values.size(); ++i) {
    block.values[i] = static_cast<float>(0.4 * std::sin(static_cast<double>(i) * 0.12));
  }
  writer.WriteBlock(block);
  writer.Close();
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fuzz_engine_seeds <corpus folder>\n");
    return 2;
  }
  const QString corpus = QString::fromLocal8Bit(argv[1]);
  for (const char* target : {"fuzz_skin_parser", "fuzz_settings_file", "fuzz_audio_open"}) {
    QDir().mkpath(corpus + QLatin1Char('/') + QLatin1String(target));
  }
  QFile skin(QStringLiteral(TARVEX_DEFAULT_SKIN));
  if (skin.open(QIODevice::ReadOnly)) writeBytes(corpus + "/fuzz_skin_parser/default.skin", skin.readAll());
  writeBytes(corpus + "/fuzz_settings_file/seed.ini",
             "; notes\n[Function]\nChoice=1\n\n[Output]\nDir=/music/\n[Fade]\nIn=0x1\nIntime=5\n");
  const QString scratch = corpus + QStringLiteral("/scratch");
  QDir().mkpath(scratch);
  static const char* const names[] = {"seed.mp3", "seed.ogg", "seed.wma", "seed.wav"};
  for (int format = 0; format < 4; ++format) {
    const QByteArray bytes = toneFile(scratch + QLatin1Char('/') + QLatin1String(names[format]), format);
    writeBytes(corpus + "/fuzz_audio_open/" + QLatin1String(names[format]),
               QByteArray(1, static_cast<char>(format)) + bytes);
  }
  QDir(scratch).removeRecursively();
  return 0;
}
