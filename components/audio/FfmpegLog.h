#pragma once

namespace tarvex {

// Routes FFmpeg's log through our own callback, once per process, before
// any FFmpeg call: its lines never reach stderr raw. What went wrong reaches
// the user through the error that names the file and the reason, made from
// FFmpeg's return codes.
void routeFfmpegLog();

}  // namespace tarvex
