#include "components/audio/LameCommandLine.h"

#include "components/audio/AudioError.h"

#include <QRegularExpression>
#include <QStringList>

#include <lame/lame.h>

namespace tarvex {

namespace {

using Kind = LameOption::Kind;

[[noreturn]] void reject(const QString& option, const QString& why) {
  throw AudioError(QStringLiteral("The MP3 command line cannot take \"%1\": %2").arg(option, why));
}

class OptionReader {
 public:
  explicit OptionReader(const QStringList& words) : words_(words) {}

  bool atEnd() const { return next_ >= words_.size(); }
  QString take() { return words_[next_++]; }
  QString peek() const { return atEnd() ? QString() : words_[next_]; }

  double number(const QString& option, double minimum, double maximum) {
    if (atEnd()) reject(option, QStringLiteral("it needs a value"));
    const QString text = take();
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) reject(option, QStringLiteral("\"%1\" is not a number").arg(text));
    if (value < minimum || value > maximum)
      reject(option, QStringLiteral("%1 is out of range (%2 to %3)").arg(text).arg(minimum).arg(maximum));
    return value;
  }

 private:
  QStringList words_;
  qsizetype next_ = 0;
};

double presetCode(OptionReader& reader, const QString& option, std::vector<LameOption>& options) {
  if (reader.atEnd()) reject(option, QStringLiteral("it needs a preset name"));
  QString name = reader.take().toLower();
  bool fast = false;
  if (name == QLatin1String("fast")) {
    fast = true;
    if (reader.atEnd()) reject(option, QStringLiteral("it needs a preset name after \"fast\""));
    name = reader.take().toLower();
  }
  if (name == QLatin1String("cbr")) {
    const double kbps = reader.number(option, 8, 320);
    options.push_back({Kind::CbrPreset, kbps});
    return -1;
  }
  bool isNumber = false;
  const int kbps = name.toInt(&isNumber);
  if (isNumber) {
    if (kbps < 8 || kbps > 320) reject(option, QStringLiteral("%1 is out of range (8 to 320)").arg(kbps));
    return kbps;
  }
  if (name == QLatin1String("standard")) return fast ? STANDARD_FAST : STANDARD;
  if (name == QLatin1String("extreme")) return fast ? EXTREME_FAST : EXTREME;
  if (name == QLatin1String("medium")) return fast ? MEDIUM_FAST : MEDIUM;
  if (name == QLatin1String("insane") && !fast) return INSANE;
  if (name == QLatin1String("r3mix") && !fast) return R3MIX;
  reject(option, QStringLiteral("unknown preset \"%1\"").arg(name));
}

}  // namespace

std::vector<LameOption> parseLameCommandLine(const QString& commandLine) {
  static const QRegularExpression whiteSpace(QStringLiteral("\\s+"));
  OptionReader reader(commandLine.split(whiteSpace, Qt::SkipEmptyParts));
  std::vector<LameOption> options;
  while (!reader.atEnd()) {
    const QString option = reader.take();
    if (option == QLatin1String("-b")) {
      options.push_back({Kind::Bitrate, reader.number(option, 8, 320)});
    } else if (option == QLatin1String("-B")) {
      options.push_back({Kind::MaxBitrate, reader.number(option, 8, 320)});
    } else if (option == QLatin1String("-V")) {
      options.push_back({Kind::VbrQuality, reader.number(option, 0, 9.999)});
    } else if (option == QLatin1String("-q")) {
      options.push_back({Kind::Quality, reader.number(option, 0, 9)});
    } else if (option == QLatin1String("-h")) {
      options.push_back({Kind::Quality, 2});
    } else if (option == QLatin1String("-f")) {
      options.push_back({Kind::Quality, 7});
    } else if (option == QLatin1String("-m")) {
      const QString mode = reader.atEnd() ? QString() : reader.take();
      if (mode.size() != 1 || !QStringLiteral("sjfdm").contains(mode))
        reject(option, QStringLiteral("the mode must be one of s, j, f, d, m"));
      options.push_back({Kind::Mode, static_cast<double>(mode[0].unicode())});
    } else if (option == QLatin1String("-a")) {
      options.push_back({Kind::Mode, static_cast<double>(u'm')});
    } else if (option == QLatin1String("--preset")) {
      const double code = presetCode(reader, option, options);
      if (code >= 0) options.push_back({Kind::Preset, code});
    } else if (option == QLatin1String("--abr")) {
      options.push_back({Kind::Abr, reader.number(option, 8, 320)});
    } else if (option == QLatin1String("--cbr")) {
      options.push_back({Kind::Cbr});
    } else if (option == QLatin1String("--vbr-old")) {
      options.push_back({Kind::VbrOld});
    } else if (option == QLatin1String("--vbr-new") || option == QLatin1String("-v")) {
      options.push_back({Kind::VbrNew});
    } else if (option == QLatin1String("--resample")) {
      const double kHz = reader.number(option, 8, 48);
      static const double rates[] = {8, 11.025, 12, 16, 22.05, 24, 32, 44.1, 48};
      bool known = false;
      for (double rate : rates) known = known || qFuzzyCompare(rate, kHz) || qAbs(rate - kHz) < 0.06;
      if (!known) reject(option, QStringLiteral("%1 kHz is not an MP3 sample rate").arg(kHz));
      options.push_back({Kind::Resample, kHz});
    } else if (option == QLatin1String("--lowpass")) {
      options.push_back({Kind::Lowpass, reader.number(option, 0.001, 50)});
    } else if (option == QLatin1String("--highpass")) {
      options.push_back({Kind::Highpass, reader.number(option, 0.001, 50)});
    } else if (option == QLatin1String("--lowpass-width")) {
      options.push_back({Kind::LowpassWidth, reader.number(option, 0.001, 50)});
    } else if (option == QLatin1String("--highpass-width")) {
      options.push_back({Kind::HighpassWidth, reader.number(option, 0.001, 50)});
    } else if (option == QLatin1String("--nores")) {
      options.push_back({Kind::NoReservoir});
    } else if (option == QLatin1String("--strictly-enforce-ISO")) {
      options.push_back({Kind::StrictIso});
    } else if (option == QLatin1String("-p")) {
      options.push_back({Kind::Crc});
    } else if (option == QLatin1String("-F")) {
      options.push_back({Kind::HardMinimum});
    } else if (option == QLatin1String("-t")) {
      options.push_back({Kind::NoVbrTag});
    } else if (option == QLatin1String("--noshort")) {
      options.push_back({Kind::NoShortBlocks});
    } else if (option == QLatin1String("--allow-diff-short")) {
      options.push_back({Kind::AllowDiffShort});
    } else if (option == QLatin1String("--athonly")) {
      options.push_back({Kind::AthOnly});
    } else if (option == QLatin1String("--noath")) {
      options.push_back({Kind::NoAth});
    } else if (option == QLatin1String("--athshort")) {
      options.push_back({Kind::AthShort});
    } else if (option == QLatin1String("-e")) {
      const QString code = reader.atEnd() ? QString() : reader.take();
      if (code != QLatin1String("n") && code != QLatin1String("5") && code != QLatin1String("c"))
        reject(option, QStringLiteral("the emphasis must be one of n, 5, c"));
      options.push_back({Kind::Emphasis, code == QLatin1String("n") ? 0.0 : code == QLatin1String("5") ? 1.0 : 3.0});
    } else {
      reject(option, QStringLiteral("not an encoding option this program supports"));
    }
  }
  return options;
}

}  // namespace tarvex
