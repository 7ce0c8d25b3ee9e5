#include "cli/CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <exception>

#include "cli/CliArguments.h"
#include "cli/CliHelp.h"
#include "cli/JobCommands.h"
#include "cli/Probe.h"
#include "cli/UsageError.h"
#include "cli/VerifyCommand.h"
#include "tags/FileTags.h"
#include "tags/TagError.h"

namespace tarvex::cli {

namespace {

QString messageOf(const std::exception& error) {
  return QString::fromUtf8(error.what());
}

int runProbe(const CliCommand& command, QTextStream& out, QTextStream& err) {
  int status = kExitDone;
  QJsonArray reports;
  for (const QString& file : command.files) {
    try {
      const ProbeReport report = probeFile(file);
      if (command.json) {
        reports.append(probeJson(report));
      } else {
        out << probeText(report);
      }
    } catch (const std::exception& error) {
      status = kExitFileFailed;
      err << "tarvex-cli: " << messageOf(error) << Qt::endl;
      if (command.json) {
        reports.append(QJsonObject{{QStringLiteral("file"), file},
                                   {QStringLiteral("error"), messageOf(error)}});
      }
    }
  }
  if (command.json) out << QJsonDocument(reports).toJson(QJsonDocument::Indented);
  out.flush();
  return status;
}

int runTags(const CliCommand& command, QTextStream& out, QTextStream& err) {
  const QString& file = command.files.front();
  try {
    if (tagFamily(file).isEmpty()) {
      throw TagError(QStringLiteral("Cannot read tags of %1: only MP3, Ogg Vorbis and WMA files "
                                    "carry tags here")
                         .arg(file));
    }
    AudioFileinfo info = readFileTags(file);
    const TagChanges& changes = command.tagChanges;
    if (!changes.any()) {
      out << file << " (" << tagFamily(file) << ")\n";
      out << "  title:   " << info.title << "\n";
      out << "  artist:  " << info.artist << "\n";
      out << "  album:   " << info.album << "\n";
      out << "  year:    " << info.year << "\n";
      out << "  genre:   " << info.genre << "\n";
      out << "  comment: " << info.comment << "\n";
      out.flush();
      return kExitDone;
    }
    if (changes.title) info.title = *changes.title;
    if (changes.artist) info.artist = *changes.artist;
    if (changes.album) info.album = *changes.album;
    if (changes.year) info.year = *changes.year;
    if (changes.genre) info.genre = *changes.genre;
    if (changes.comment) info.comment = *changes.comment;
    writeFileTags(file, info);
    return kExitDone;
  } catch (const std::exception& error) {
    err << "tarvex-cli: " << messageOf(error) << Qt::endl;
    return kExitFileFailed;
  }
}

}  // namespace

int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  CliCommand command;
  try {
    command = parseCliArguments(arguments);
  } catch (const UsageError& error) {
    err << "tarvex-cli: " << error.message() << Qt::endl;
    return kExitBadUsage;
  }
  switch (command.action) {
    case Action::Help:
      out << helpText(command.helpTopic);
      out.flush();
      return kExitDone;
    case Action::Version:
      out << versionText() << "\n";
      out.flush();
      return kExitDone;
    case Action::Probe:
      return runProbe(command, out, err);
    case Action::Tags:
      return runTags(command, out, err);
    case Action::Split:
    case Action::Join:
      return runJob(command, out, err);
    case Action::Verify:
      return runVerify(command, out, err);
  }
  return kExitBadUsage;
}

}  // namespace tarvex::cli
