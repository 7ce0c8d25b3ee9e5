#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "processing/EncoderProfile.h"

namespace tarvex::cli {

enum class Action { Help, Version, Probe, Tags, Split, Join, Verify };
enum class SplitMode { Every, Pieces, Ranges, Cue, Silences, Chapters, Labels };

// Tag fields a `tags` command sets; an absent field is left as it is.
struct TagChanges {
  std::optional<QString> title;
  std::optional<QString> artist;
  std::optional<QString> album;
  std::optional<QString> year;
  std::optional<QString> genre;
  std::optional<QString> comment;
  bool any() const { return title || artist || album || year || genre || comment; }
};

// Encoder options given as flags, laid over the settings file's profile.
struct EncoderFlags {
  QString settingsFile;  // empty: the user's own settings file
  std::optional<int> bitrateKbps;
  std::optional<int> vbrQuality;
  std::optional<int> presetNumber;  // 1-based, as the settings dialog lists them
  std::optional<QString> lameCommandLine;
};

// One run of the command line, as parsed.
struct CliCommand {
  Action action = Action::Help;
  QString helpTopic;  // Help: the sub-command asked about, empty for all
  QStringList files;  // as given (relative to the caller's folder)
  bool quiet = false;

  bool json = false;  // probe, and split or join with --dry-run

  TagChanges tagChanges;  // tags

  SplitMode mode = SplitMode::Every;  // split
  double everySeconds = 0;
  int pieceCount = 0;
  std::vector<double> rangeTimes;  // Ranges: seconds, each range's begin then its end
  QString cueSheet;                // Cue: empty means the sheet beside each file
  QString labelFile;               // Labels: the label file marking every file
  double thresholdDb = -40.0;      // Silences: the level below which audio is quiet
  int minSilenceMs = 1000;         // Silences: the shortest pause that cuts
  QString outputFolder;            // split: empty means the current folder
  QString nameTemplate;            // split: --name, checked; empty means numbered names

  bool dryRun = false;       // split and join: print the plan, write nothing
  bool verifyAfter = false;  // split and join: verify the outputs once the job has run

  QString outputFile;  // join: -o

  std::optional<int> formatIndex;  // split and join: --format
  int fadeInSeconds = 0;
  int fadeOutSeconds = 0;
  EncoderFlags encoder;

  // verify: the job whose plan the outputs are judged by (Split or Join, with
  // the fields above as that job takes them), and a split's pieces in plan
  // order (a join's output is -o).
  Action verifiedJob = Action::Split;
  QStringList verifyOutputs;
};

}  // namespace tarvex::cli
