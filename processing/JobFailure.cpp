#include "processing/JobFailure.h"

#include <QFile>

#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "platform/PlatformServices.h"
#include "processing/JobProgress.h"
#include "processing/JobServices.h"
#include "processing/SplitRunner.h"
#include "sources/SegmentList.h"
#include "tags/TagError.h"

namespace tarvex {

QString jobErrorMessage(const std::exception& error) {
  if (const auto* audio = dynamic_cast<const AudioError*>(&error)) return audio->message();
  if (const auto* tag = dynamic_cast<const TagError*>(&error)) return tag->message();
  return QString::fromUtf8(error.what());
}

void endFailedJob(JobServices& services, JobProgress& progress, QString& partialPath,
                  int& failedRow, const QString& message) {
  try {
    if (services.writer.IsOpen()) services.writer.Close();
  } catch (...) {
  }
  if (!partialPath.isEmpty()) QFile::remove(partialPath);
  partialPath.clear();
  try {
    if (services.reader.IsOpen()) services.reader.Close();
  } catch (...) {
  }
  if (failedRow >= 0) services.segments.setStatus(failedRow, kStatusError);
  failedRow = -1;
  services.parts.state->jobRunning = false;
  progress.clear();
  services.platform.showError(services.parts.window, message);
}

}  // namespace tarvex
