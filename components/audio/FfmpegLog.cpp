#include "components/audio/FfmpegLog.h"

#include <cstdarg>
#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

namespace tarvex {

namespace {

// FFmpeg's diagnostics ("detected only with low score", "Invalid frame
// size") describe its guesses about a file, not anything the user asked
// for: they are dropped, and the failure they lead to is reported as ours.
void dropLine(void*, int, const char*, va_list) {}

}  // namespace

void routeFfmpegLog() {
  // FFmpeg keeps one log callback for the whole process.
  static std::once_flag routed;
  std::call_once(routed, [] { av_log_set_callback(dropLine); });
}

}  // namespace tarvex
