#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace tarvex {

class PlatformServices;
class SourceRecords;

inline const QString kJoinOverSourceMessage =
    QStringLiteral("The output file is one of the files to join. Choose another name.");
inline const QString kJoinNameTakenMessage =
    QStringLiteral("%1 already exists. Choose another name, or type the full name to replace it.");

// The file a join writes, as chosen in the save dialog.
struct JoinOutput {
  QString path;         // with the format's extension
  int formatIndex = 0;  // the dialog's filter index - 1 (MP3 for an index it never offered)
};

// Asks for the join's output file. Nothing when there are no sources or the
// dialog is cancelled; a name that is one of the sources, or that only with
// the added extension names an existing file, is refused with a message.
std::optional<JoinOutput> chooseJoinOutput(PlatformServices& platform, QWidget* window,
                                           const SourceRecords& sources, const QString& outputDir,
                                           int formatIndex);

}  // namespace tarvex
