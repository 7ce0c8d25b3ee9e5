#include "cli/CliArguments.h"

#include <QHash>
#include <algorithm>
#include <functional>

#include "cli/TimeRanges.h"
#include "cli/UsageError.h"
#include "config/EncoderLists.h"
#include "platform/Error.h"
#include "processing/NameTemplate.h"
#include "sources/SplitPlanning.h"

namespace tarvex::cli {

namespace {

const QStringList kCommands{QStringLiteral("split"), QStringLiteral("join"),
                            QStringLiteral("probe"), QStringLiteral("tags"),
                            QStringLiteral("verify")};

QString seeHelp(const QString& command) {
  return command.isEmpty() ? QStringLiteral("see tarvex-cli --help")
                           : QStringLiteral("see tarvex-cli %1 --help").arg(command);
}

int parseInteger(const QString& option, const QString& text, int lowest, int highest) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok || value < lowest || value > highest) {
    throw UsageError(QStringLiteral("%1 takes a whole number from %2 to %3, not \"%4\"")
                         .arg(option)
                         .arg(lowest)
                         .arg(highest)
                         .arg(text));
  }
  return value;
}

int parseFormat(const QString& text) {
  const QString name = text.trimmed().toLower();
  if (name == QLatin1String("mp3")) return kFormatMp3;
  if (name == QLatin1String("wav")) return kFormatWav;
  if (name == QLatin1String("wma")) return kFormatWma;
  if (name == QLatin1String("ogg")) return kFormatOgg;
  if (name == QLatin1String("mp3-copy")) return kFormatMp3Copy;
  throw UsageError(
      QStringLiteral("--format takes mp3, wav, wma, ogg or mp3-copy, not \"%1\"").arg(text));
}

int parsePreset(const QString& text) {
  const QStringList names = presetRows();
  bool isNumber = false;
  text.trimmed().toInt(&isNumber);
  if (isNumber) return parseInteger(QStringLiteral("--preset"), text, 1, names.size());
  for (qsizetype position = 0; position < names.size(); ++position) {
    if (names[position].compare(text.trimmed(), Qt::CaseInsensitive) == 0) {
      return static_cast<int>(position) + 1;
    }
  }
  throw UsageError(QStringLiteral("--preset takes 1 to %1 or one of %2, not \"%3\"")
                       .arg(names.size())
                       .arg(names.join(QLatin1String(", ")), text));
}

int parseBitrate(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok || std::find(kBitratesKbps.begin(), kBitratesKbps.end(), value) == kBitratesKbps.end()) {
    QStringList allowed;
    for (int rate : kBitratesKbps) allowed << QString::number(rate);
    throw UsageError(QStringLiteral("--bitrate takes one of %1, not \"%2\"")
                         .arg(allowed.join(QLatin1String(", ")), text));
  }
  return value;
}

// Walks the arguments after the sub-command, handing each option and its
// value to `takeOption`, each other argument to the file list.
class OptionReader {
 public:
  OptionReader(QString command, const QStringList& arguments)
      : command_(std::move(command)), arguments_(arguments) {}

  // `handlers` maps an option to what it does with its value; `flags` to
  // what an option without a value does.
  void read(const QHash<QString, std::function<void(const QString&)>>& handlers,
            const QHash<QString, std::function<void()>>& flags, QStringList& files) {
    bool optionsEnded = false;
    for (qsizetype index = 0; index < arguments_.size(); ++index) {
      const QString& argument = arguments_[index];
      if (optionsEnded || !argument.startsWith(QLatin1Char('-')) ||
          argument == QLatin1String("-")) {
        files << argument;
        continue;
      }
      if (argument == QLatin1String("--")) {
        optionsEnded = true;
        continue;
      }
      QString name = argument;
      std::optional<QString> inlineValue;
      const qsizetype equals = argument.indexOf(QLatin1Char('='));
      if (argument.startsWith(QLatin1String("--")) && equals > 2) {
        name = argument.left(equals);
        inlineValue = argument.mid(equals + 1);
      }
      if (const auto flag = flags.constFind(name); flag != flags.constEnd()) {
        if (inlineValue) {
          throw UsageError(QStringLiteral("%1 takes no value; %2").arg(name, seeHelp(command_)));
        }
        (*flag)();
        continue;
      }
      const auto handler = handlers.constFind(name);
      if (handler == handlers.constEnd()) {
        throw UsageError(QStringLiteral("%1 does not know the option %2; %3")
                             .arg(command_, name, seeHelp(command_)));
      }
      if (!inlineValue) {
        if (index + 1 >= arguments_.size()) {
          throw UsageError(QStringLiteral("%1 needs a value; %2").arg(name, seeHelp(command_)));
        }
        inlineValue = arguments_[++index];
      }
      (*handler)(*inlineValue);
    }
  }

 private:
  QString command_;
  const QStringList& arguments_;
};

void addEncoderOptions(CliCommand& command,
                       QHash<QString, std::function<void(const QString&)>>& handlers,
                       QHash<QString, std::function<void()>>& flags) {
  handlers[QStringLiteral("--format")] = [&command](const QString& value) {
    command.formatIndex = parseFormat(value);
  };
  handlers[QStringLiteral("--settings")] = [&command](const QString& value) {
    command.encoder.settingsFile = value;
  };
  handlers[QStringLiteral("--bitrate")] = [&command](const QString& value) {
    command.encoder.bitrateKbps = parseBitrate(value);
  };
  handlers[QStringLiteral("--vbr-quality")] = [&command](const QString& value) {
    command.encoder.vbrQuality = parseInteger(QStringLiteral("--vbr-quality"), value, 0, 9);
  };
  handlers[QStringLiteral("--preset")] = [&command](const QString& value) {
    command.encoder.presetNumber = parsePreset(value);
  };
  handlers[QStringLiteral("--lame")] = [&command](const QString& value) {
    command.encoder.lameCommandLine = value;
  };
  handlers[QStringLiteral("--fade-in")] = [&command](const QString& value) {
    command.fadeInSeconds = parseInteger(QStringLiteral("--fade-in"), value, 0, 3600);
  };
  handlers[QStringLiteral("--fade-out")] = [&command](const QString& value) {
    command.fadeOutSeconds = parseInteger(QStringLiteral("--fade-out"), value, 0, 3600);
  };
  flags[QStringLiteral("--quiet")] = [&command] { command.quiet = true; };
  flags[QStringLiteral("-q")] = [&command] { command.quiet = true; };
}

void requireFiles(const CliCommand& command, const QString& name) {
  if (command.files.isEmpty()) {
    throw UsageError(QStringLiteral("%1 needs at least one file; %2").arg(name, seeHelp(name)));
  }
}

// "verify split|join ARGUMENTS... [--outputs FILE...]": the job's own
// arguments, with the files after --outputs (up to the next option) taken
// out as the outputs to judge.
CliCommand parseVerify(const QStringList& rest) {
  const QString name = QStringLiteral("verify");
  if (rest.isEmpty() ||
      (rest.front() != QLatin1String("split") && rest.front() != QLatin1String("join"))) {
    throw UsageError(QStringLiteral("verify takes split or join and that job's arguments; ") +
                     seeHelp(name));
  }
  QStringList jobArguments;
  QStringList outputs;
  bool takingOutputs = false;
  for (const QString& argument : rest) {
    if (argument == QLatin1String("--outputs")) {
      takingOutputs = true;
      continue;
    }
    if (takingOutputs && !argument.startsWith(QLatin1Char('-'))) {
      outputs << argument;
      continue;
    }
    takingOutputs = false;
    jobArguments << argument;
  }
  CliCommand command = parseCliArguments(jobArguments);
  if (command.dryRun) {
    throw UsageError(QStringLiteral("verify writes nothing and takes no --dry-run; ") +
                     seeHelp(name));
  }
  if (command.verifyAfter) {
    throw UsageError(QStringLiteral("verify takes no --verify; ") + seeHelp(name));
  }
  if (command.action == Action::Split && outputs.isEmpty()) {
    throw UsageError(
        QStringLiteral("verify split needs --outputs PIECE..., the pieces in plan order; ") +
        seeHelp(name));
  }
  if (command.action == Action::Join && !outputs.isEmpty()) {
    throw UsageError(QStringLiteral("verify join takes its output as -o OUT; ") + seeHelp(name));
  }
  command.verifiedJob = command.action;
  command.action = Action::Verify;
  command.verifyOutputs = outputs;
  return command;
}

}  // namespace

CliCommand parseCliArguments(const QStringList& arguments) {
  CliCommand command;
  if (arguments.isEmpty()) throw UsageError(QStringLiteral("no command given; ") + seeHelp({}));

  const QString& first = arguments.front();
  if (first == QLatin1String("--help") || first == QLatin1String("-h") ||
      first == QLatin1String("help")) {
    command.action = Action::Help;
    if (arguments.size() > 1 && kCommands.contains(arguments[1])) command.helpTopic = arguments[1];
    return command;
  }
  if (first == QLatin1String("--version") || first == QLatin1String("-V")) {
    command.action = Action::Version;
    return command;
  }
  if (!kCommands.contains(first)) {
    throw UsageError(QStringLiteral("\"%1\" is not a command; %2").arg(first, seeHelp({})));
  }
  const QStringList rest = arguments.mid(1);
  // Help wins over anything else on the line, even options not understood.
  const qsizetype optionsEnd = rest.indexOf(QStringLiteral("--"));
  const QStringList options = optionsEnd < 0 ? rest : rest.mid(0, optionsEnd);
  if (options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h"))) {
    command.action = Action::Help;
    command.helpTopic = first;
    return command;
  }

  if (first == QLatin1String("verify")) return parseVerify(rest);

  QHash<QString, std::function<void(const QString&)>> handlers;
  QHash<QString, std::function<void()>> flags;
  OptionReader reader(first, rest);

  if (first == QLatin1String("probe")) {
    command.action = Action::Probe;
    flags[QStringLiteral("--json")] = [&command] { command.json = true; };
    reader.read(handlers, flags, command.files);
    requireFiles(command, first);
    return command;
  }

  if (first == QLatin1String("tags")) {
    command.action = Action::Tags;
    const auto field = [&handlers](const char* name, std::optional<QString> TagChanges::*member,
                                   CliCommand& target) {
      handlers[QString::fromLatin1(name)] = [&target, member](const QString& value) {
        target.tagChanges.*member = value;
      };
    };
    field("--title", &TagChanges::title, command);
    field("--artist", &TagChanges::artist, command);
    field("--album", &TagChanges::album, command);
    field("--year", &TagChanges::year, command);
    field("--genre", &TagChanges::genre, command);
    field("--comment", &TagChanges::comment, command);
    reader.read(handlers, flags, command.files);
    if (command.files.size() != 1) {
      throw UsageError(QStringLiteral("tags takes exactly one file; ") + seeHelp(first));
    }
    return command;
  }

  addEncoderOptions(command, handlers, flags);

  flags[QStringLiteral("--dry-run")] = [&command] { command.dryRun = true; };
  flags[QStringLiteral("--json")] = [&command] { command.json = true; };
  flags[QStringLiteral("--verify")] = [&command] { command.verifyAfter = true; };
  const auto checkVerify = [&command, &first] {
    if (command.verifyAfter && command.dryRun) {
      throw UsageError(QStringLiteral("--verify judges what a job wrote and --dry-run writes "
                                      "nothing; give one of them; ") +
                       seeHelp(first));
    }
  };

  if (first == QLatin1String("split")) {
    command.action = Action::Split;
    int modesGiven = 0;
    handlers[QStringLiteral("--every")] = [&](const QString& value) {
      ++modesGiven;
      command.mode = SplitMode::Every;
      command.everySeconds = parseTime(value);
      if (command.everySeconds < 1) {
        throw UsageError(
            QStringLiteral("--every takes a time of at least 1 second, not \"%1\"").arg(value));
      }
    };
    handlers[QStringLiteral("--pieces")] = [&](const QString& value) {
      ++modesGiven;
      command.mode = SplitMode::Pieces;
      command.pieceCount = parseInteger(QStringLiteral("--pieces"), value, 1, kMostPiecesPerJob);
    };
    handlers[QStringLiteral("--ranges")] = [&](const QString& value) {
      ++modesGiven;
      command.mode = SplitMode::Ranges;
      command.rangeTimes = parseRanges(value);
    };
    // "--cue" takes its sheet as "--cue=SHEET" or as a .cue file among the
    // files; without one, each file's own sheet beside it.
    flags[QStringLiteral("--cue")] = [&] {
      ++modesGiven;
      command.mode = SplitMode::Cue;
    };
    flags[QStringLiteral("--silences")] = [&] {
      ++modesGiven;
      command.mode = SplitMode::Silences;
    };
    flags[QStringLiteral("--chapters")] = [&] {
      ++modesGiven;
      command.mode = SplitMode::Chapters;
    };
    handlers[QStringLiteral("--labels")] = [&](const QString& value) {
      ++modesGiven;
      command.mode = SplitMode::Labels;
      command.labelFile = value;
    };
    handlers[QStringLiteral("--name")] = [&command](const QString& value) {
      try {
        checkNameTemplate(value);
      } catch (const Error& error) {
        throw UsageError(error.message());
      }
      command.nameTemplate = value;
    };
    handlers[QStringLiteral("--threshold")] = [&command](const QString& value) {
      command.thresholdDb = parseInteger(QStringLiteral("--threshold"), value, -96, -1);
    };
    handlers[QStringLiteral("--min-silence")] = [&command](const QString& value) {
      command.minSilenceMs = parseInteger(QStringLiteral("--min-silence"), value, 100, 60000);
    };
    const auto output = [&command](const QString& value) { command.outputFolder = value; };
    handlers[QStringLiteral("--output")] = output;
    handlers[QStringLiteral("-o")] = output;
    QStringList arguments = rest;
    for (QString& argument : arguments) {
      if (argument.startsWith(QLatin1String("--cue="))) {
        command.cueSheet = argument.mid(6);
        argument = QStringLiteral("--cue");
      }
    }
    OptionReader(first, arguments).read(handlers, flags, command.files);
    if (command.mode == SplitMode::Cue && command.cueSheet.isEmpty()) {
      for (qsizetype index = 0; index < command.files.size(); ++index) {
        if (command.files[index].endsWith(QLatin1String(".cue"), Qt::CaseInsensitive)) {
          command.cueSheet = command.files.takeAt(index);
          break;
        }
      }
    }
    requireFiles(command, first);
    if (modesGiven != 1) {
      throw UsageError(
          QStringLiteral(
              "split takes one of --every, --pieces, --ranges, --cue, --chapters, --labels or "
              "--silences; ") +
          seeHelp(first));
    }
    checkVerify();
    return command;
  }

  command.action = Action::Join;
  const auto output = [&command](const QString& value) { command.outputFile = value; };
  handlers[QStringLiteral("--output")] = output;
  handlers[QStringLiteral("-o")] = output;
  reader.read(handlers, flags, command.files);
  requireFiles(command, first);
  if (command.outputFile.isEmpty()) {
    throw UsageError(QStringLiteral("join needs -o OUT, the file to write; ") + seeHelp(first));
  }
  checkVerify();
  return command;
}

}  // namespace tarvex::cli
