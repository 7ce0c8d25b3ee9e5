#pragma once

#include <QString>
#include <vector>

namespace tarvex {

// One encoding option of LAME's own command-line syntax, parsed.
struct LameOption {
  enum class Kind {
    Bitrate,           // -b N: CBR/ABR bitrate, VBR minimum
    MaxBitrate,        // -B N: VBR maximum
    VbrQuality,        // -V N: VBR with quality N (0 best .. 9)
    Quality,           // -q N, -h (2), -f (7)
    Mode,              // -m s|j|f|d|m, -a (mono)
    Preset,            // --preset NAME | N (ABR kbit/s)
    CbrPreset,         // --preset cbr N
    Abr,               // --abr N
    Cbr,               // --cbr
    VbrOld,            // --vbr-old
    VbrNew,            // --vbr-new, -v
    Resample,          // --resample kHz
    Lowpass,           // --lowpass kHz
    Highpass,          // --highpass kHz
    LowpassWidth,      // --lowpass-width kHz
    HighpassWidth,     // --highpass-width kHz
    NoReservoir,       // --nores
    StrictIso,         // --strictly-enforce-ISO
    Crc,               // -p
    HardMinimum,       // -F
    NoVbrTag,          // -t
    NoShortBlocks,     // --noshort
    AllowDiffShort,    // --allow-diff-short
    AthOnly,           // --athonly
    NoAth,             // --noath
    AthShort,          // --athshort
    Emphasis,          // -e n|5|c
  };
  Kind kind;
  double value = 0;  // numbers; Mode: the letter; Preset: the LAME preset code
};

// Splits `commandLine` at white space and parses LAME's encoding options.
// Throws AudioError naming the first option it cannot take.
std::vector<LameOption> parseLameCommandLine(const QString& commandLine);

}  // namespace tarvex
