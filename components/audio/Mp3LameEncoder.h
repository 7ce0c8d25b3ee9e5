#pragma once

#include <QString>

namespace tarvex {

// The MP3 encoder settings. It only holds values: each setting keeps the value
// last given until it is set again, and the writer applies them at
// CreateWrite (see LameSettings.cpp for what every code means). Booleans
// arrive as -1 (true) and 0 (false); any non-zero value counts as true.
//
// Presets: setting `Preset` or `AltPreset` puts the encoder in preset mode,
// where the preset(s) given since decide the encoding; setting any individual
// setting returns it to individual mode. The command line applies last, on
// top of either mode.
class Mp3LameEncoder {
 public:
  void setCommandLine(const QString& commandLine) { commandLine_ = commandLine; }
  void setPreset(int preset);
  void setAltPreset(int altPreset);
  void setVbrBitrate(int kbps) { individual(vbrBitrate_, kbps); }
  void setVbrQuality(int quality) { individual(vbrQuality_, quality); }
  void setVbrMethod(int method) { individual(vbrMethod_, method); }
  void setStereoMode(int mode) { individual(stereoMode_, mode); }
  void setQuality(int quality) { individual(quality_, quality); }
  void setVbrHeader(int on) { individual(vbrHeader_, on); }
  void setBitReservoir(int on) { individual(bitReservoir_, on); }
  void setAllowDiffBlocks(int on) { individual(allowDiffBlocks_, on); }
  void setShortBlocks(int on) { individual(shortBlocks_, on); }
  void setDeEmphasis(int code) { individual(deEmphasis_, code); }
  void setStrictIso(int on) { individual(strictIso_, on); }
  void setEnforceMinBitrate(int on) { individual(enforceMinBitrate_, on); }
  void setAth(int code) { individual(ath_, code); }
  void setLowpassFreq(int hz) { individual(lowpassFreq_, hz); }
  void setHighpassFreq(int hz) { individual(highpassFreq_, hz); }
  void setLowpassWidth(int hz) { individual(lowpassWidth_, hz); }
  void setHighpassWidth(int hz) { individual(highpassWidth_, hz); }
  void setCrc(int on) { individual(crc_, on); }
  void setSampleRate(int hz) { individual(sampleRate_, hz); }
  void setChannels(int channels) { individual(channels_, channels); }
  void setBitrate(int kbps) { individual(bitrate_, kbps); }

  QString commandLine() const { return commandLine_; }
  int preset() const { return preset_; }
  int altPreset() const { return altPreset_; }
  int vbrBitrate() const { return vbrBitrate_; }
  int vbrQuality() const { return vbrQuality_; }
  int vbrMethod() const { return vbrMethod_; }
  int stereoMode() const { return stereoMode_; }
  int quality() const { return quality_; }
  int vbrHeader() const { return vbrHeader_; }
  int bitReservoir() const { return bitReservoir_; }
  int allowDiffBlocks() const { return allowDiffBlocks_; }
  int shortBlocks() const { return shortBlocks_; }
  int deEmphasis() const { return deEmphasis_; }
  int strictIso() const { return strictIso_; }
  int enforceMinBitrate() const { return enforceMinBitrate_; }
  int ath() const { return ath_; }
  int lowpassFreq() const { return lowpassFreq_; }
  int highpassFreq() const { return highpassFreq_; }
  int lowpassWidth() const { return lowpassWidth_; }
  int highpassWidth() const { return highpassWidth_; }
  int crc() const { return crc_; }
  int sampleRate() const { return sampleRate_; }
  int channels() const { return channels_; }
  int bitrate() const { return bitrate_; }

  // True while the preset (alternative preset) given since the last
  // individual setting decides the encoding.
  bool presetInForce() const { return presetInForce_; }
  bool altPresetInForce() const { return altPresetInForce_; }

  // Throws AudioError naming the first option of `commandLine` the encoder
  // cannot take (unknown, missing or bad value).
  static void validateCommandLine(const QString& commandLine);

 private:
  void individual(int& field, int value) {
    field = value;
    presetInForce_ = false;
    altPresetInForce_ = false;
  }

  QString commandLine_;
  int preset_ = 0;
  int altPreset_ = 0;
  bool presetInForce_ = false;
  bool altPresetInForce_ = false;
  int vbrBitrate_ = 128;
  int vbrQuality_ = 5;
  int vbrMethod_ = -1;
  int stereoMode_ = 1;
  int quality_ = 5;
  int vbrHeader_ = -1;
  int bitReservoir_ = -1;
  int allowDiffBlocks_ = 0;
  int shortBlocks_ = -1;
  int deEmphasis_ = 0;
  int strictIso_ = 0;
  int enforceMinBitrate_ = 0;
  int ath_ = 0;
  int lowpassFreq_ = -1;
  int highpassFreq_ = -1;
  int lowpassWidth_ = 750;
  int highpassWidth_ = 5;
  int crc_ = 0;
  int sampleRate_ = 44100;
  int channels_ = 2;
  int bitrate_ = 128;
};

}  // namespace tarvex
