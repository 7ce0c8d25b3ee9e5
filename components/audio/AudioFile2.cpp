#include "components/audio/AudioFile2.h"

#include <QDir>

#include "components/audio/AudioError.h"
#include "components/audio/BackgroundEncoder.h"
#include "components/audio/DecoderOpening.h"
#include "components/audio/ErrorText.h"
#include "components/audio/FormatChecks.h"
#include "components/audio/Mp3FileEncoder.h"
#include "components/audio/PcmConverter.h"
#include "components/audio/PcmLimits.h"
#include "components/audio/WavFileEncoder.h"
#include "components/audio/WmaFileEncoder.h"
#include "components/audio/WmaProfiles.h"
#include "platform/WorkWhileWaiting.h"

#include <QFileInfo>

#include <algorithm>

namespace tarvex {

namespace {

// A block may ask for many frames at once (a fade over a whole piece); the
// decoder fills it in steps of this size.
constexpr int kDecodeStepFrames = 65536;

}  // namespace

AudioFile2::AudioFile2() = default;

AudioFile2::~AudioFile2() {
  closeReader();
  // An output still open is completed, so what was written stays playable; a
  // destructor has no one to report a failure to.
  try {
    closeWriter();
  } catch (const AudioError&) {
  }
}

// --- reading ---

void AudioFile2::OpenRead(const QString& fileName, int, int) {
  if (opening_) {
    throw AudioError(QStringLiteral("Cannot open %1: another file is still being opened")
                         .arg(QDir::toNativeSeparators(fileName)));
  }
  Close();
  pcmRate_ = 0;
  pcmChannels_ = 0;
  struct OpeningScope {
    bool& flag;
    explicit OpeningScope(bool& opening) : flag(opening) { flag = true; }
    ~OpeningScope() { flag = false; }
  } opening(opening_);
  // Rethrows the opening's AudioError.
  decoder_ = runWhileWaiting([fileName] { return openDecoder(fileName); }, whileWaiting_);
  readName_ = fileName;
  readEnded_ = false;
}

int64_t AudioFile2::Samples() const {
  return decoder_ ? decoder_->frameCount() : 0;
}

int64_t AudioFile2::Duration() const {
  if (!decoder_ || decoder_->sampleRate() <= 0) return 0;
  const int64_t rate = decoder_->sampleRate();
  return (decoder_->frameCount() * 1000 + rate / 2) / rate;
}

int AudioFile2::Channels() const {
  return decoder_ ? decoder_->channels() : 0;
}

int AudioFile2::SampleRate() const {
  return decoder_ ? decoder_->sampleRate() : 0;
}

int AudioFile2::Seek(int64_t frame, int) {
  if (!decoder_) throw AudioError(QStringLiteral("Cannot seek: no file is open for reading"));
  decoder_->seek(frame);
  restartReadConversion();
  readEnded_ = false;
  return 0;
}

SampleBlock AudioFile2::ReadBlock(int frames) {
  if (!decoder_) throw AudioError(QStringLiteral("Cannot read: no file is open for reading"));
  SampleBlock block;
  if (frames <= 0 || readEnded_) return block;
  const int channels = decoder_->channels();

  if (!readConverter_) {
    block.values.resize(static_cast<size_t>(frames) * channels);
    int done = 0;
    while (done < frames) {
      const int step = std::min(frames - done, kDecodeStepFrames);
      const int got =
          decoder_->read(block.values.data() + static_cast<size_t>(done) * channels, step);
      done += got;
      if (got < step) {
        readEnded_ = true;
        break;
      }
    }
    block.values.resize(static_cast<size_t>(done) * channels);
    return block;
  }

  // Converting: the block holds exactly the output frames that belong to the
  // source frames asked for since the last seek, counted from there and
  // rounded to the nearest frame. The resampler holds back a few frames, so
  // the decoder runs ahead of that count; what it gives beyond the block
  // waits for the next one. At the data's end everything left comes out.
  const int outChannels = readConverter_->outputChannels();
  const int64_t inRate = readConverter_->inputRate();
  const int64_t outRate = readConverter_->outputRate();
  auto heldFrames = [&] { return static_cast<int64_t>(convertedAhead_.size()) / outChannels; };
  convertedInputFrames_ += frames;
  const int64_t due = (convertedInputFrames_ * outRate + inRate / 2) / inRate - deliveredFrames_;
  while (!decoderEnded_ && heldFrames() < due) {
    const int64_t missingInput = (due - heldFrames()) * inRate / outRate;
    const int step =
        static_cast<int>(std::clamp<int64_t>(missingInput + 64, 256, kDecodeStepFrames));
    decoded_.resize(static_cast<size_t>(step) * channels);
    const int got = decoder_->read(decoded_.data(), step);
    decodedInputFrames_ += got;
    if (got > 0) {
      readConverter_->convert(decoded_.data(), got, converted_);
      convertedAhead_.insert(convertedAhead_.end(), converted_.begin(), converted_.end());
    }
    if (got < step) {
      readConverter_->flush(converted_);
      convertedAhead_.insert(convertedAhead_.end(), converted_.begin(), converted_.end());
      decoderEnded_ = true;
    }
  }
  int64_t take = std::clamp<int64_t>(due, 0, heldFrames());
  if (decoderEnded_ && convertedInputFrames_ >= decodedInputFrames_) {
    take = heldFrames();  // the request reached the data's end
    readEnded_ = true;
  }
  const auto values = static_cast<std::ptrdiff_t>(take * outChannels);
  block.values.assign(convertedAhead_.begin(), convertedAhead_.begin() + values);
  convertedAhead_.erase(convertedAhead_.begin(), convertedAhead_.begin() + values);
  deliveredFrames_ += take;
  return block;
}

void AudioFile2::restartReadConversion() {
  if (readConverter_) readConverter_->reset();
  convertedAhead_.clear();
  convertedInputFrames_ = 0;
  decodedInputFrames_ = 0;
  deliveredFrames_ = 0;
  decoderEnded_ = false;
}

void AudioFile2::prepareReadConversion() {
  readConverter_.reset();
  restartReadConversion();
  if (!decoder_ || pcmRate_ <= 0 || pcmChannels_ <= 0) return;
  if (pcmRate_ == decoder_->sampleRate() && pcmChannels_ == decoder_->channels()) return;
  readConverter_ = std::make_unique<PcmConverter>(decoder_->sampleRate(), decoder_->channels(),
                                                  pcmRate_, pcmChannels_);
}

void AudioFile2::closeReader() {
  decoder_.reset();
  readConverter_.reset();
  restartReadConversion();
  readName_.clear();
  readEnded_ = false;
}

// --- both ---

void AudioFile2::SetPcmFormat(int sampleRate, int channels) {
  if (!isPcmFormatSupported(sampleRate, channels))
    throw AudioError(QStringLiteral("Cannot use %1 Hz with %2 channels as a sample format")
                         .arg(sampleRate)
                         .arg(channels));
  if (sampleRate == pcmRate_ && channels == pcmChannels_) return;
  pcmRate_ = sampleRate;
  pcmChannels_ = channels;
  if (decoder_) prepareReadConversion();
  if (encoder_) {
    if (writeConverter_) {
      writeConverter_->flush(converted_);
      encoder_->write(converted_.data(),
                      static_cast<int>(converted_.size()) / encoder_->channels());
    }
    prepareWriteConversion();
  }
}

void AudioFile2::Close() {
  closeReader();
  closeWriter();
}

bool AudioFile2::IsOpen() const {
  return decoder_ != nullptr || encoder_ != nullptr;
}

void AudioFile2::setActive(bool active) {
  if (!active) Close();
  active_ = active;
}

// --- writing ---

void AudioFile2::SetWavFormat(int sampleRate, int channels, int bitsPerSample) {
  output_ = OutputKind::Wav;
  wavRate_ = sampleRate;
  wavChannels_ = channels;
  wavBits_ = bitsPerSample;
}

void AudioFile2::SetMp3Encoder(const Mp3LameEncoder& encoder) {
  output_ = OutputKind::Mp3;
  mp3Settings_ = encoder;
}

void AudioFile2::SetOggFormat(int sampleRate, int channels, int bitrateKbps, int minKbps,
                              int maxKbps, int16_t quality) {
  output_ = OutputKind::Ogg;
  oggFormat_ = OggFormat{sampleRate, channels, bitrateKbps, minKbps, maxKbps, quality};
}

void AudioFile2::SetWmaFormat(int profileNumber) {
  wmaProfile(profileNumber);  // throws for a number outside the list
  output_ = OutputKind::Wma;
  wmaProfile_ = profileNumber;
}

void AudioFile2::CreateWrite(const QString& fileName, int) {
  Close();
  std::unique_ptr<AudioEncoder> encoder;
  switch (output_) {
    case OutputKind::None:
      throw AudioError(createError(fileName, QStringLiteral("no output format was chosen")));
    case OutputKind::Mp3: {
      const int rate = pcmRate_ > 0
                           ? pcmRate_
                           : (mp3Settings_.sampleRate() > 0 ? mp3Settings_.sampleRate() : 44100);
      const int channels =
          pcmChannels_ > 0 ? pcmChannels_ : std::clamp(mp3Settings_.channels(), 1, 2);
      encoder = std::make_unique<Mp3FileEncoder>(fileName, mp3Settings_, rate, channels);
      if (backgroundEncoding_) encoder = std::make_unique<BackgroundEncoder>(std::move(encoder));
      break;
    }
    case OutputKind::Wav:
      encoder = std::make_unique<WavFileEncoder>(fileName, wavRate_, wavChannels_, wavBits_);
      break;
    case OutputKind::Ogg:
      encoder = std::make_unique<OggFileEncoder>(fileName, oggFormat_);
      break;
    case OutputKind::Wma:
      encoder = std::make_unique<WmaFileEncoder>(fileName, wmaProfile(wmaProfile_));
      break;
  }
  encoder_ = std::move(encoder);
  writeName_ = fileName;
  prepareWriteConversion();
}

void AudioFile2::prepareWriteConversion() {
  writeConverter_.reset();
  if (!encoder_ || pcmRate_ <= 0 || pcmChannels_ <= 0) return;
  if (pcmRate_ == encoder_->sampleRate() && pcmChannels_ == encoder_->channels()) return;
  writeConverter_ = std::make_unique<PcmConverter>(pcmRate_, pcmChannels_, encoder_->sampleRate(),
                                                   encoder_->channels());
}

void AudioFile2::WriteBlock(const SampleBlock& block) {
  if (!encoder_) throw AudioError(QStringLiteral("Cannot write: no file is open for writing"));
  const int channels = writeConverter_ ? writeConverter_->inputChannels() : encoder_->channels();
  if (block.values.size() % static_cast<size_t>(channels) != 0)
    throw AudioError(
        writeError(writeName_, QStringLiteral("the block does not hold whole frames")));
  const int frames = static_cast<int>(block.values.size() / static_cast<size_t>(channels));
  if (frames == 0) return;
  if (!writeConverter_) {
    encoder_->write(block.values.data(), frames);
    return;
  }
  writeConverter_->convert(block.values.data(), frames, converted_);
  const int convertedFrames = static_cast<int>(converted_.size()) / encoder_->channels();
  if (convertedFrames > 0) encoder_->write(converted_.data(), convertedFrames);
}

void AudioFile2::closeWriter() {
  if (!encoder_) return;
  // The encoder is released whatever happens, so a failed close leaves the
  // writer ready for the next CreateWrite.
  std::unique_ptr<AudioEncoder> encoder = std::move(encoder_);
  std::unique_ptr<PcmConverter> converter = std::move(writeConverter_);
  writeName_.clear();
  if (converter) {
    converter->flush(converted_);
    const int frames = static_cast<int>(converted_.size()) / encoder->channels();
    if (frames > 0) encoder->write(converted_.data(), frames);
  }
  encoder->finish();
}

bool AudioFile2::CheckMp3Format(int sampleRate, int kbps, int channelMode) const {
  return isMp3FormatEncodable(sampleRate, kbps, channelMode);
}

bool AudioFile2::CheckOggFormat(int sampleRate, int channels, int bitrateKbps, int minKbps,
                                int maxKbps) const {
  return OggFileEncoder::canEncodeManaged(sampleRate, channels, bitrateKbps, minKbps, maxKbps);
}

}  // namespace tarvex
