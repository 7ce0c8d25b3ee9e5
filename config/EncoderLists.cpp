#include "config/EncoderLists.h"

namespace tarvex {

QStringList sampleRateRows() {
  QStringList rows;
  for (int hz : kSampleRatesHz) rows << QStringLiteral("%1 Hz").arg(hz);
  return rows;
}

QStringList bitrateRows() {
  QStringList rows;
  for (int kbps : kBitratesKbps) rows << QStringLiteral("%1 Kbps").arg(kbps);
  return rows;
}

QStringList mp3ChannelRows() {
  return {QStringLiteral("Mono"), QStringLiteral("Stereo"), QStringLiteral("Joint Stereo"),
          QStringLiteral("Forced Joint Stereo"), QStringLiteral("Dual Channels")};
}

QStringList twoChannelRows() {
  return {QStringLiteral("Mono"), QStringLiteral("Stereo")};
}

QStringList sampleSizeRows() {
  return {QStringLiteral("8 bps"), QStringLiteral("16 bps")};
}

QStringList vbrMethodRows() {
  return {QStringLiteral("None"), QStringLiteral("Default"), QStringLiteral("Old"),
          QStringLiteral("New"), QStringLiteral("MTRH")};
}

QStringList athRows() {
  return {QStringLiteral("default"), QStringLiteral("only"), QStringLiteral("disabled"),
          QStringLiteral("only for short blocks")};
}

QStringList deEmphasisRows() {
  return {QStringLiteral("default"), QStringLiteral("0/15 microseconds"),
          QStringLiteral("citt j.17")};
}

QStringList presetRows() {
  return {QStringLiteral("Phone"),  QStringLiteral("SW"),     QStringLiteral("AM"),
          QStringLiteral("FM"),     QStringLiteral("Voice"),  QStringLiteral("Radio"),
          QStringLiteral("Type"),   QStringLiteral("Tarvex"), QStringLiteral("CD"),
          QStringLiteral("Studio"), QStringLiteral("R3Mix")};
}

QStringList altPresetRows() {
  return {QStringLiteral("Fast Standard"), QStringLiteral("Standard"),
          QStringLiteral("Fast Extreme"), QStringLiteral("Extrene"), QStringLiteral("Insane")};
}

QStringList wavModeRows() {
  return {QStringLiteral("CD quality WAV format."), QStringLiteral("Best good quality WAV format."),
          QStringLiteral("Custom WAV format.")};
}

QStringList wmaFormatRows() {
  // Rows 20 and 22 carry the same text; the 8 kHz rows have two spaces after the comma.
  return {
      QStringLiteral("WMA9 48KHz, 192Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 48KHz, 160Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 48KHz, 128Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 48KHz, 96Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 48KHz, 64Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 320Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 256Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 192Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 160Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 128Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 96Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 80Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 64Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 48Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 32Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 44KHz, 48Kbps, Mono, CBR"),
      QStringLiteral("WMA9 44KHz, 32Kbps, Mono, CBR"),
      QStringLiteral("WMA9 44KHz, 20Kbps, Mono, CBR"),
      QStringLiteral("WMA9 32KHz, 48Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 32KHz, 40Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 32KHz, 32Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 32KHz, 20Kbps, Mono, CBR"),
      QStringLiteral("WMA9 32KHz, 32Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 32KHz, 22Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 22KHz, 20Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 22KHz, 20Kbps, Mono, CBR"),
      QStringLiteral("WMA9 22KHz, 16Kbps, Mono, CBR"),
      QStringLiteral("WMA9 16KHz, 20Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 16KHz, 16Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 16KHz, 16Kbps, Mono, CBR"),
      QStringLiteral("WMA9 16KHz, 12Kbps, Mono, CBR"),
      QStringLiteral("WMA9 16KHz, 10Kbps, Mono, CBR"),
      QStringLiteral("WMA9 11KHz, 10Kbps, Mono, CBR"),
      QStringLiteral("WMA9 11KHz, 8Kbps, Mono, CBR"),
      QStringLiteral("WMA9 8KHz,  12Kbps, Stereo, CBR"),
      QStringLiteral("WMA9 8KHz,  8Kbps, Mono, CBR"),
      QStringLiteral("WMA9 8KHz,  6Kbps, Mono, CBR"),
      QStringLiteral("WMA9 8KHz,  5Kbps, Mono, CBR"),
      QStringLiteral("WMA9 48KHz, Stereo, VBR Quality 98"),
      QStringLiteral("WMA9 48KHz, Stereo, VBR Quality 90"),
      QStringLiteral("WMA9 44KHz, Stereo, VBR Quality 98"),
      QStringLiteral("WMA9 44KHz, Stereo, VBR Quality 90"),
      QStringLiteral("WMA9 44KHz, Stereo, VBR Quality 75"),
      QStringLiteral("WMA9 44KHz, Stereo, VBR Quality 50"),
      QStringLiteral("WMA9 44KHz, Stereo, VBR Quality 25"),
      QStringLiteral("WMA9 44KHz, Stereo, VBR Quality 10"),
      QStringLiteral("WMA9 44KHz, Stereo, Lossless"),
  };
}

QStringList fadeLengthRows() {
  QStringList rows;
  for (int seconds = 1; seconds <= 20; ++seconds) rows << QStringLiteral("%1s").arg(seconds);
  return rows;
}

}  // namespace tarvex
