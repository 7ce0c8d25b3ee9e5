#include "app/JoinOutputChoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "app/OutputFormats.h"
#include "platform/PlatformServices.h"
#include "processing/EncoderProfile.h"
#include "processing/OutputNaming.h"
#include "sources/SourceRecords.h"

namespace tarvex {
namespace {

// True when both paths name one file: the same path, a link to it, or a hard link.
bool sameFile(const QString& a, const QString& b) {
  const QString canonicalA = QFileInfo(a).canonicalFilePath();
  if (!canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath()) return true;
  std::error_code error;
  const bool same =
      std::filesystem::equivalent(std::filesystem::path(QFile::encodeName(a).toStdString()),
                                  std::filesystem::path(QFile::encodeName(b).toStdString()), error);
  return !error && same;
}

}  // namespace

std::optional<JoinOutput> chooseJoinOutput(PlatformServices& platform, QWidget* window,
                                           const SourceRecords& sources, const QString& outputDir,
                                           int formatIndex) {
  if (sources.empty()) return std::nullopt;
  const auto choice =
      platform.getSaveFileName(window, QString(), outputDir, joinSaveFilters(), formatIndex + 1);
  if (!choice || choice->fileName.isEmpty()) return std::nullopt;

  JoinOutput output;
  output.formatIndex = knownFormatIndex(choice->filterIndex - 1);
  output.path = joinOutputPath(choice->fileName, OutputExtension(output.formatIndex));
  // The dialog asked before replacing the name as typed, not the completed one.
  if (output.path != choice->fileName && pathTaken(output.path)) {
    platform.showInformation(window,
                             kJoinNameTakenMessage.arg(QDir::toNativeSeparators(output.path)));
    return std::nullopt;
  }
  for (const SourceRecord& record : sources.all()) {
    if (sameFile(output.path, record.path)) {
      platform.showInformation(window, kJoinOverSourceMessage);
      return std::nullopt;
    }
  }
  return output;
}

}  // namespace tarvex
