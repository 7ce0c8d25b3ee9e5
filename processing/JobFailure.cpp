#include "processing/JobFailure.h"

#include <QFile>

#include "components/audio/AudioFile2.h"
#include "platform/Error.h"
#include "platform/PlatformServices.h"
#include "processing/JobProgress.h"
#include "processing/JobServices.h"
#include "processing/SplitRunner.h"
#include "sources/SegmentList.h"

namespace tarvex {

QString jobErrorMessage(const std::exception& error) {
  return userMessage(error);
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
