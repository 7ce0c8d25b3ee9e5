#include "components/audio/LameSettings.h"

#include "components/audio/LameCommandLine.h"
#include "components/audio/Mp3LameEncoder.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tarvex {

// What every code of the MP3 encoder settings means.
//
//   Setting            Code        LAME setting
//   -----------------  ----------  -----------------------------------------------
//   Preset             1 Phone     CBR 16 kbit/s, mono, 8 kHz, low-pass 3.2 kHz
//                      2 SW        CBR 24 kbit/s, mono, 11.025 kHz, low-pass 4.8 kHz
//                      3 AM        CBR 40 kbit/s, mono, 16 kHz, low-pass 7.2 kHz
//                      4 FM        CBR 112 kbit/s, joint stereo, 32 kHz, low-pass 15 kHz
//                      5 Voice     CBR 56 kbit/s, mono, 32 kHz, low-pass 12 kHz
//                      6 Radio     CBR 128 kbit/s, joint stereo, 44.1 kHz, low-pass 16 kHz
//                      7 Tape      CBR 160 kbit/s, joint stereo, 44.1 kHz, low-pass 17.5 kHz
//                      8 Hi-Fi     CBR 192 kbit/s, joint stereo, 44.1 kHz, low-pass 18.5 kHz
//                      9 CD        CBR 224 kbit/s, stereo, 44.1 kHz
//                      10 Studio   CBR 256 kbit/s, stereo, 44.1 kHz
//                      11 R3Mix    LAME preset r3mix (VBR)
//                      other       no preset
//   AltPreset          1           --preset fast standard    (VBR)
//                      2           --preset standard         (VBR)
//                      3           --preset fast extreme     (VBR)
//                      4           --preset extreme          (VBR)
//                      5           --preset insane           (CBR 320 kbit/s)
//   VbrMethod          -1          none: CBR at `Bitrate`
//                      0           VBR, LAME's default method
//                      1           VBR, old method (vbr_rh)
//                      2           VBR, new method (vbr_mt)
//                      3           VBR, MTRH (vbr_mtrh)
//   VbrQuality         0..9        VBR quality (0 best)
//   VbrBitrate         kbit/s      smallest bitrate VBR frames use (except silence,
//                                  unless EnforceMinBitrate)
//   EnforceMinBitrate  bool        VbrBitrate is a hard minimum, also for silence
//   Bitrate            kbit/s      CBR bitrate (LAME picks the nearest legal value)
//   Quality            0..9        algorithm quality (0 best, 9 fastest)
//   Channels           1           mono (a stereo input is mixed down)
//                      2           `StereoMode` decides
//   StereoMode         1           stereo
//                      2           joint stereo (LAME decides mid/side per frame)
//                      3           forced mid/side joint stereo
//                      4           dual channel
//   SampleRate         Hz          output sample rate (0: the input's); LAME resamples
//   VbrHeader          bool        Xing/LAME header frame written at close
//   BitReservoir       bool        bit reservoir on
//   AllowDiffBlocks    bool        channels may use different block types
//   ShortBlocks        bool        short blocks allowed
//   DeEmphasis         0           none
//                      1           50/15 microseconds
//                      2           CCITT J.17
//   StrictIso          bool        strict ISO compliance
//   Ath                0           LAME's default ATH
//                      1           ATH only (psychoacoustics off)
//                      2           no ATH
//                      3           ATH for short blocks only
//   LowpassFreq        Hz, -1      low-pass corner; -1 (off): LAME's own choice
//   HighpassFreq       Hz, -1      high-pass corner; -1 (off): none
//   LowpassWidth       Hz          low-pass transition width (with a low-pass only)
//   HighpassWidth      Hz          high-pass transition width (with a high-pass only)
//   Crc                bool        CRC protection of every frame
//   CommandLine        text        LAME options applied last (see LameCommandLine.h)

namespace {

struct PresetRow {
  int kbps;
  MPEG_mode mode;
  int sampleRate;
  int lowpassHz;  // 0: LAME's choice
};

constexpr PresetRow kPresets[] = {
    {16, MONO, 8000, 3200},           {24, MONO, 11025, 4800},
    {40, MONO, 16000, 7200},          {112, JOINT_STEREO, 32000, 15000},
    {56, MONO, 32000, 12000},         {128, JOINT_STEREO, 44100, 16000},
    {160, JOINT_STEREO, 44100, 17500}, {192, JOINT_STEREO, 44100, 18500},
    {224, STEREO, 44100, 0},          {256, STEREO, 44100, 0},
};
constexpr int kR3MixPreset = 11;

constexpr int kAltPresets[] = {STANDARD_FAST, STANDARD, EXTREME_FAST, EXTREME, INSANE};

bool on(int value) { return value != 0; }

void applyPreset(lame_t lame, int preset) {
  if (preset >= 1 && preset <= static_cast<int>(std::size(kPresets))) {
    const PresetRow& row = kPresets[preset - 1];
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, row.kbps);
    lame_set_mode(lame, row.mode);
    lame_set_out_samplerate(lame, row.sampleRate);
    if (row.lowpassHz > 0) lame_set_lowpassfreq(lame, row.lowpassHz);
  } else if (preset == kR3MixPreset) {
    lame_set_preset(lame, R3MIX);
  }
}

void applyAltPreset(lame_t lame, int altPreset) {
  if (altPreset >= 1 && altPreset <= static_cast<int>(std::size(kAltPresets)))
    lame_set_preset(lame, kAltPresets[altPreset - 1]);
}

void applyIndividual(lame_t lame, const Mp3LameEncoder& settings) {
  lame_set_bWriteVbrTag(lame, on(settings.vbrHeader()));
  lame_set_VBR_hard_min(lame, on(settings.enforceMinBitrate()));
  lame_set_error_protection(lame, on(settings.crc()));
  lame_set_allow_diff_short(lame, on(settings.allowDiffBlocks()));
  lame_set_disable_reservoir(lame, !on(settings.bitReservoir()));
  lame_set_no_short_blocks(lame, !on(settings.shortBlocks()));
  lame_set_strict_ISO(lame, on(settings.strictIso()));

  if (settings.highpassFreq() > 0) {
    lame_set_highpassfreq(lame, settings.highpassFreq());
    lame_set_highpasswidth(lame, std::max(1, settings.highpassWidth()));
  }
  if (settings.lowpassFreq() > 0) {
    lame_set_lowpassfreq(lame, settings.lowpassFreq());
    lame_set_lowpasswidth(lame, std::max(1, settings.lowpassWidth()));
  }

  switch (settings.vbrMethod()) {
    case 0: lame_set_VBR(lame, vbr_default); break;
    case 1: lame_set_VBR(lame, vbr_rh); break;
    case 2: lame_set_VBR(lame, vbr_mt); break;
    case 3: lame_set_VBR(lame, vbr_mtrh); break;
    default: lame_set_VBR(lame, vbr_off); break;
  }
  if (settings.vbrMethod() >= 0) {
    lame_set_VBR_q(lame, std::clamp(settings.vbrQuality(), 0, 9));
    if (settings.vbrBitrate() > 0) lame_set_VBR_min_bitrate_kbps(lame, settings.vbrBitrate());
  }

  switch (settings.ath()) {
    case 1: lame_set_ATHonly(lame, 1); break;
    case 2: lame_set_noATH(lame, 1); break;
    case 3: lame_set_ATHshort(lame, 1); break;
    default: break;
  }

  if (settings.channels() == 1) {
    lame_set_mode(lame, MONO);
  } else {
    switch (settings.stereoMode()) {
      case 2: lame_set_mode(lame, JOINT_STEREO); break;
      case 3:
        lame_set_mode(lame, JOINT_STEREO);
        lame_set_force_ms(lame, 1);
        break;
      case 4: lame_set_mode(lame, DUAL_CHANNEL); break;
      default: lame_set_mode(lame, STEREO);
    }
  }

  static constexpr int kEmphasis[] = {0, 1, 3};
  lame_set_emphasis(lame, kEmphasis[std::clamp(settings.deEmphasis(), 0, 2)]);
  lame_set_quality(lame, std::clamp(settings.quality(), 0, 9));
  if (settings.bitrate() > 0) lame_set_brate(lame, settings.bitrate());
  if (settings.sampleRate() > 0) lame_set_out_samplerate(lame, settings.sampleRate());
}

MPEG_mode modeFromLetter(int letter) {
  switch (letter) {
    case 'j': return JOINT_STEREO;
    case 'f': return JOINT_STEREO;
    case 'd': return DUAL_CHANNEL;
    case 'm': return MONO;
    default: return STEREO;
  }
}

void applyCommandLine(lame_t lame, const std::vector<LameOption>& options) {
  using Kind = LameOption::Kind;
  for (const LameOption& option : options) {
    const int whole = static_cast<int>(std::lround(option.value));
    switch (option.kind) {
      case Kind::Bitrate:
        lame_set_brate(lame, whole);
        lame_set_VBR_min_bitrate_kbps(lame, whole);
        break;
      case Kind::MaxBitrate: lame_set_VBR_max_bitrate_kbps(lame, whole); break;
      case Kind::VbrQuality:
        if (lame_get_VBR(lame) == vbr_off || lame_get_VBR(lame) == vbr_abr)
          lame_set_VBR(lame, vbr_default);
        lame_set_VBR_quality(lame, static_cast<float>(option.value));
        break;
      case Kind::Quality: lame_set_quality(lame, whole); break;
      case Kind::Mode:
        lame_set_mode(lame, modeFromLetter(whole));
        lame_set_force_ms(lame, whole == 'f' ? 1 : 0);
        break;
      case Kind::Preset: lame_set_preset(lame, whole); break;
      case Kind::CbrPreset:
        lame_set_VBR(lame, vbr_off);
        lame_set_preset(lame, whole);
        break;
      case Kind::Abr:
        lame_set_VBR(lame, vbr_abr);
        lame_set_VBR_mean_bitrate_kbps(lame, whole);
        break;
      case Kind::Cbr: lame_set_VBR(lame, vbr_off); break;
      case Kind::VbrOld: lame_set_VBR(lame, vbr_rh); break;
      case Kind::VbrNew: lame_set_VBR(lame, vbr_mtrh); break;
      case Kind::Resample:
        lame_set_out_samplerate(lame, static_cast<int>(std::lround(option.value * 1000)));
        break;
      case Kind::Lowpass:
        lame_set_lowpassfreq(lame, static_cast<int>(std::lround(option.value * 1000)));
        break;
      case Kind::Highpass:
        lame_set_highpassfreq(lame, static_cast<int>(std::lround(option.value * 1000)));
        break;
      case Kind::LowpassWidth:
        lame_set_lowpasswidth(lame, static_cast<int>(std::lround(option.value * 1000)));
        break;
      case Kind::HighpassWidth:
        lame_set_highpasswidth(lame, static_cast<int>(std::lround(option.value * 1000)));
        break;
      case Kind::NoReservoir: lame_set_disable_reservoir(lame, 1); break;
      case Kind::StrictIso: lame_set_strict_ISO(lame, 1); break;
      case Kind::Crc: lame_set_error_protection(lame, 1); break;
      case Kind::HardMinimum: lame_set_VBR_hard_min(lame, 1); break;
      case Kind::NoVbrTag: lame_set_bWriteVbrTag(lame, 0); break;
      case Kind::NoShortBlocks: lame_set_no_short_blocks(lame, 1); break;
      case Kind::AllowDiffShort: lame_set_allow_diff_short(lame, 1); break;
      case Kind::AthOnly: lame_set_ATHonly(lame, 1); break;
      case Kind::NoAth: lame_set_noATH(lame, 1); break;
      case Kind::AthShort: lame_set_ATHshort(lame, 1); break;
      case Kind::Emphasis: lame_set_emphasis(lame, whole); break;
    }
  }
}

}  // namespace

void applyLameSettings(lame_t lame, const Mp3LameEncoder& settings, int inputRate,
                       int inputChannels) {
  const std::vector<LameOption> commandLine = parseLameCommandLine(settings.commandLine());
  lame_set_in_samplerate(lame, inputRate);
  lame_set_num_channels(lame, inputChannels);
  lame_set_write_id3tag_automatic(lame, 0);
  lame_set_bWriteVbrTag(lame, 1);
  if (settings.presetInForce() || settings.altPresetInForce()) {
    if (settings.presetInForce()) applyPreset(lame, settings.preset());
    if (settings.altPresetInForce()) applyAltPreset(lame, settings.altPreset());
  } else {
    applyIndividual(lame, settings);
  }
  applyCommandLine(lame, commandLine);
}

}  // namespace tarvex
