#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "processing/EncoderProfile.h"
#include "sources/SplitPlanning.h"
#include "tags/AudioFileinfo.h"

namespace tarvex {

// What a split or join job does, decided in full when Split or Join is
// pressed. The executor uses nothing else: no window control, no settings
// file, no source record is read while the job runs, so changes made during a
// job apply to the next one.
//
// Frames are sample frames of the source itself (before any conversion). The
// planner maps a time t to frame round(t × sample rate), kept inside the
// source; an end at or past the source's whole-second length is its last
// frame (one past the last), so the fraction of a second after it is not
// lost. Exact edges (a CUE sheet's tracks, found sounds, fractional times)
// are used as they are.

// One output file of a split.
struct PiecePlan {
  int source = 0;      // the source list row the piece comes from
  int row = 0;         // the piece's row in that source's segment list
  QString sourcePath;  // the file read

  int64_t firstFrame = 0;  // first source frame written
  int64_t endFrame = 0;    // one past the last; endFrame <= firstFrame gives an empty piece
                           // (its file is still created and tagged)

  // Where the piece goes. Numbered names ("stem_N.ext") are planned so that
  // no two pieces share one and none is taken when planned. Should the name
  // be taken by the time the piece is created, the executor counts on from 1
  // with the same rule (nameStem + "_N" in outputFolder, first free N); it
  // never writes over a file.
  QString outputPath;
  QString nameStem;  // the caption's stem the numbered names are made of (outputStem)
  // Used once when outputPath cannot be created (a name the file system
  // refuses): the source's own file name with the output extension in the
  // output folder (fallbackOutputName); taken names count on as above, from
  // the source file's base name.
  QString fallbackPath;

  AudioFileinfo tags;  // written onto the closed piece (nothing for ".wav"); a piece copied
                       // from an MP3 source ("MP3 (no re-encode)") gets them in front as written

  // Fades of this piece in whole seconds, 0 = none. The executor turns them
  // into frames of the source as the reader measures it (MulDiv(seconds ×
  // 1000, Samples, Duration)). The fade-in block is the piece's first block,
  // never longer than the piece; the fade-out block is the whole rest of the
  // piece once no more than the fade-out frames remain.
  int fadeInSeconds = 0;
  int fadeOutSeconds = 0;

  // Marked ranges (Custom): the piece ends once fewer than 100 frames remain
  // after a block. The executor applies it, since it depends on what the
  // blocks deliver; the planner only sets the flag.
  bool endsWithinShortTail = false;
};

// A split job: every piece of every source, in the order the window lists
// them (source by source, row by row). Pieces run side by side; their order
// here is the order in which workers take them up.
struct SplitPlan {
  std::vector<PiecePlan> pieces;
  // The output format and all its encoder settings, taken when Split was
  // pressed; the extension of every output is OutputExtension(profile.formatIndex).
  EncoderProfile profile;
  QString outputFolder;  // ends with the native separator
  // What each source's segment list shows while the job runs, by source
  // list row: one row per `row` number the pieces use, with the status it
  // had before the job.
  std::vector<std::vector<Segment>> rows;
};

// One stretch of one source in a join.
struct JoinPart {
  int source = 0;  // the source list row
  int row = 0;     // the range's row in the segment list shown for that source
  QString sourcePath;
  // true: from frame 0 to the end of the data (whole-file joins), including
  // whatever a rate conversion still holds at the end; firstFrame and
  // endFrame then only size the progress (endFrame = the source's frame count).
  bool whole = false;
  int64_t firstFrame = 0;  // first source frame
  int64_t endFrame = 0;    // one past the last source frame
  // The part's chapter title in an MP3 output: its range's title (a CUE
  // track, a chapter), else the source's tag title, else its caption.
  QString title;
};

// A join job: the parts in list order, written as one stream into one file.
struct JoinPlan {
  std::vector<JoinPart> parts;
  QString outputPath;      // as chosen in the save dialog, with the extension; created anew
  EncoderProfile profile;  // format index and encoder settings, taken when Join was pressed
  // The output's rate and channel count: the first source's (the first row of
  // the source list, even when it contributes no part). Every part is
  // converted to them by the reader. 0 or less: taken from the first part's
  // source when it is opened.
  int outputRate = 0;
  int outputChannels = 0;
  // One fade-in over the output's first block and one fade-out over the end of
  // its last part, in whole seconds (0 = none). Each is turned into frames of
  // the source being read at that moment, as for a split piece.
  int fadeInSeconds = 0;
  int fadeOutSeconds = 0;
  // What each source's segment list shows while the job runs (see SplitPlan).
  std::vector<std::vector<Segment>> rows;
};

}  // namespace tarvex
