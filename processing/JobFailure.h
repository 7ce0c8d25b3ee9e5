#pragma once

#include <QString>
#include <exception>

namespace tarvex {

struct JobServices;
class JobProgress;

// Ends a job that an error stopped: closes the writer and the reader (what
// fails while closing adds nothing to the message at hand), removes the
// output cut off by the error so that no file looks complete that is not,
// marks the failed row "Error", clears the job flag and the progress display,
// and shows the message once. `partialPath` and `failedRow` are cleared.
// The user-readable message of an error that ended a job: an audio or tag
// error's own text, else what the exception says.
QString jobErrorMessage(const std::exception& error);

void endFailedJob(JobServices& services, JobProgress& progress, QString& partialPath,
                  int& failedRow, const QString& message);

}  // namespace tarvex
