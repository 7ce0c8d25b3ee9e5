#pragma once

#include "components/audio/Mp3LameEncoder.h"
#include "components/audio/OggFileEncoder.h"
#include "components/audio/SampleBlock.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace tarvex {

class AudioDecoder;
class AudioEncoder;
class PcmConverter;

// The audio file component: one instance reads a file (`AudioFileRead`),
// another writes one (`AudioFile2write`). Positions and lengths are in sample
// frames (64-bit), durations in milliseconds. Every failure throws AudioError
// with a message naming the operation, the file and the reason.
class AudioFile2 {
 public:
  AudioFile2();
  ~AudioFile2();
  AudioFile2(const AudioFile2&) = delete;
  AudioFile2& operator=(const AudioFile2&) = delete;

  // --- reading ---
  // Opens `fileName` at frame 0, delivering the file's own rate and channel
  // count until SetPcmFormat. MPEG audio goes through libmpg123, everything
  // else through libavformat. The two integers are not used.
  void OpenRead(const QString& fileName, int reserved1 = 0, int reserved2 = 1);
  // Opening measures the file's exact length, which takes a while for long
  // files. With a waiting function set, that work runs on a thread of its own
  // and the caller's thread runs the function at once and then about every
  // 15 ms until it is done (the window pumps its event queue there). A second OpenRead on the
  // same object while one is under way is refused.
  void setWaitingFunction(std::function<void()> whileWaiting) {
    whileWaiting_ = std::move(whileWaiting);
  }
  int64_t Samples() const;
  int64_t Duration() const;  // milliseconds, rounded from Samples and SampleRate
  int Channels() const;
  int SampleRate() const;
  // The next ReadBlock starts at source frame `frame` (clamped to the file).
  // `mode` is not used (callers pass 3). Returns 0.
  int Seek(int64_t frame, int mode = 3);
  // Reads up to `frames` source frames from the current position, converted
  // to the format of SetPcmFormat if one was set. An empty block (upper
  // bound 0) means the data has ended. Converted, a run of blocks after a
  // seek holds exactly the output frames of the source frames asked for
  // (their count at the output rate, rounded to the nearest frame), so a
  // range ends on its own last frame; the rest of a rate conversion comes out
  // at the data's end. (A request for less than one output frame's worth may
  // then give an empty block before the end.)
  SampleBlock ReadBlock(int frames);

  // --- both ---
  // Reader: format of the blocks ReadBlock delivers. Writer: format of the
  // blocks WriteBlock receives; the writer converts them to the output format.
  void SetPcmFormat(int sampleRate, int channels);
  void Close();
  bool IsOpen() const;
  void setActive(bool active);
  bool Active() const { return active_; }

  // --- writing: output formats stay in force until changed ---
  void SetWavFormat(int sampleRate, int channels, int bitsPerSample);
  void SetMp3Encoder(const Mp3LameEncoder& encoder);
  void SetOggFormat(int sampleRate, int channels, int bitrateKbps, int minKbps, int maxKbps,
                    int16_t quality);
  void SetWmaFormat(int profileNumber);
  // Creates or overwrites `fileName` in the output format last set. The
  // integer is not used.
  void CreateWrite(const QString& fileName, int reserved = 0);
  void WriteBlock(const SampleBlock& block);

  // When on (the default), MP3 encoding runs on a thread of its own, so the
  // caller's decoding overlaps it; errors still reach the caller at the next
  // WriteBlock or at Close. Takes effect at the next CreateWrite.
  void setBackgroundEncoding(bool on) { backgroundEncoding_ = on; }

  bool CheckMp3Format(int sampleRate, int kbps, int channelMode) const;
  bool CheckOggFormat(int sampleRate, int channels, int bitrateKbps, int minKbps,
                      int maxKbps) const;

 private:
  enum class OutputKind { None, Mp3, Wav, Ogg, Wma };

  void closeReader();
  void closeWriter();
  void prepareReadConversion();
  void restartReadConversion();
  void prepareWriteConversion();

  bool active_ = false;
  bool backgroundEncoding_ = true;
  std::function<void()> whileWaiting_;
  bool opening_ = false;

  // Reader state.
  QString readName_;
  std::unique_ptr<AudioDecoder> decoder_;
  std::unique_ptr<PcmConverter> readConverter_;
  std::vector<float> decoded_;
  bool readEnded_ = false;
  // Rate conversion since the last seek: source frames asked for, source
  // frames decoded (the decoder runs ahead), output frames handed out, and
  // converted frames waiting for the next block.
  int64_t convertedInputFrames_ = 0;
  int64_t decodedInputFrames_ = 0;
  int64_t deliveredFrames_ = 0;
  bool decoderEnded_ = false;
  std::vector<float> convertedAhead_;

  // The format SetPcmFormat gave (0: none).
  int pcmRate_ = 0;
  int pcmChannels_ = 0;

  // Writer state.
  OutputKind output_ = OutputKind::None;
  Mp3LameEncoder mp3Settings_;
  int wavRate_ = 44100;
  int wavChannels_ = 2;
  int wavBits_ = 16;
  OggFormat oggFormat_;
  int wmaProfile_ = 10;
  QString writeName_;
  std::unique_ptr<AudioEncoder> encoder_;
  std::unique_ptr<PcmConverter> writeConverter_;
  std::vector<float> converted_;
};

// The designer names of the two instances the main window owns.
using AudioFileRead = AudioFile2;
using AudioFile2write = AudioFile2;

}  // namespace tarvex
