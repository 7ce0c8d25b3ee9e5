#include "cli/CliHelp.h"

#ifndef TARVEX_VERSION
#define TARVEX_VERSION "unknown"
#endif

namespace tarvex::cli {

namespace {

const char* const kOverview =
    "Usage: tarvex-cli COMMAND [OPTIONS] FILE...\n"
    "\n"
    "Cuts audio files into pieces and joins files, as the Tarvex window does.\n"
    "\n"
    "Commands:\n"
    "  split   cut each file into pieces\n"
    "  join    write the files, in order, into one file\n"
    "  probe   show length, rate, channels, format and tags\n"
    "  tags    show or set a file's tags\n"
    "  verify  judge a split's or join's outputs against their sources\n"
    "\n"
    "  tarvex-cli COMMAND --help   the options of one command\n"
    "  tarvex-cli --version        the version\n"
    "\n"
    "Exit status: 0 done, 1 a file failed, 2 the command line was not understood.\n";

const char* const kEncoderOptions =
    "Encoder options (the settings file's values unless given):\n"
    "  --format mp3|wav|wma|ogg|mp3-copy\n"
    "                       output format (default mp3); mp3-copy copies the\n"
    "                       frames of MP3 files, exact to the sample, encoding\n"
    "                       again only the frames at each cut, seam and fade;\n"
    "                       joined parts meet with no gap (pieces of one\n"
    "                       recording exactly, others with a crossfade under\n"
    "                       one frame); encodes as mp3 (saying why) other\n"
    "                       sources and joins of files that differ in sample\n"
    "                       rate or channels\n"
    "  --settings FILE      read encoder settings from FILE instead of\n"
    "                       the user's Quillmere.ini\n"
    "  --bitrate KBPS       MP3 and Ogg bitrate (8 to 320)\n"
    "  --vbr-quality 0-9    MP3 variable bitrate at this quality (0 best)\n"
    "  --preset N|NAME      an MP3 preset by number or name (Phone ... R3Mix)\n"
    "  --lame \"OPTIONS\"     a free LAME command line; it replaces the other\n"
    "                       MP3 settings\n"
    "  --fade-in S          fade in over S seconds\n"
    "  --fade-out S         fade out over S seconds\n"
    "  --quiet              no progress on stderr\n";

const char* const kSplit =
    "Usage: tarvex-cli split FILE... (--every TIME | --pieces N | --ranges RANGES |\n"
    "                        --cue [SHEET] | --chapters | --labels FILE |\n"
    "                        --silences [--threshold DB]\n"
    "                        [--min-silence MS]) [--output DIR] [--name TEMPLATE]\n"
    "                        [--dry-run [--json] | --verify [--json]]\n"
    "                        [encoder options]\n"
    "\n"
    "Cuts each FILE into pieces written as new files into DIR (default: the\n"
    "current folder, made with its parents when missing), named after the\n"
    "file's title or name with _1, _2, ...; an existing file is never written\n"
    "over. The pieces are planned as the window plans them: a time t is the\n"
    "sample nearest t x the sample rate, and each piece is tagged n/N.\n"
    "\n"
    "  --every TIME         pieces of TIME (at least 1 second), the last one\n"
    "                       running to the end of the file\n"
    "  --pieces N           N pieces of (nearly) equal length, cut at whole\n"
    "                       seconds\n"
    "  --ranges RANGES      the given stretches, as 0:30-1:15,2:00.5-2:30,\n"
    "                       the same for every FILE\n"
    "  --cue [SHEET]        the tracks of a CUE sheet, cut at its exact times\n"
    "                       and tagged with their titles and performers;\n"
    "                       SHEET as --cue=SHEET or a .cue among the files,\n"
    "                       else the sheet beside each FILE\n"
    "  --chapters           the chapters of each FILE's ID3 tag, cut at their\n"
    "                       exact times and titled by them: taken by start,\n"
    "                       one running into the next ends where it begins,\n"
    "                       one left with no length is skipped\n"
    "  --labels FILE        the stretches of a label file (start, end and label\n"
    "                       in seconds, tab-separated, one a line), cut at\n"
    "                       their exact times and titled by their labels\n"
    "  --silences           the stretches of sound between pauses, cut where\n"
    "                       the sound begins and ends\n"
    "  --threshold DB       below this level is a pause (-96 to -1, default -40)\n"
    "  --min-silence MS     the shortest pause (100 to 60000, default 1000)\n"
    "  -o, --output DIR     the folder for the pieces\n"
    "  --name TEMPLATE      name the pieces from TEMPLATE, e.g. '{n:02} {title}':\n"
    "                       {n} the piece's number ({n:02} zero-padded), {N}\n"
    "                       the number of pieces, {title} (the track's, chapter's\n"
    "                       or label's, else the file's), {artist}, {album},\n"
    "                       {year}, {source} (the file's name without extension),\n"
    "                       {start} (M.SS, {start:ms} milliseconds); characters\n"
    "                       a file name cannot hold are left out, and a name\n"
    "                       already taken gets _2, _3, ...\n"
    "  --dry-run            print each piece's name and its first and end\n"
    "                       sample of the source; write nothing\n"
    "  --json               with --dry-run, the plan as JSON; with --verify,\n"
    "                       the findings as JSON\n"
    "  --verify             once the job has run, judge every piece written as\n"
    "                       'tarvex-cli verify' does and print what it found;\n"
    "                       the exit status is 1 when a piece does not hold what\n"
    "                       the plan says\n"
    "\n"
    "Times are SS, M:SS or H:MM:SS, each with a fraction if need be (7.777,\n"
    "1:02.5). A split that would write more than 10000 pieces is refused.\n"
    "\n";

const char* const kJoin =
    "Usage: tarvex-cli join FILE... -o OUT [--dry-run [--json] | --verify [--json]]\n"
    "                       [encoder options]\n"
    "\n"
    "Writes every FILE, in the order given, into the one new file OUT. The\n"
    "format follows --format, else OUT's extension, else MP3 (the extension\n"
    "is then added). OUT must not exist yet; its folder is made when missing.\n"
    "An MP3 OUT holds one ID3 chapter per FILE, titled by the file's title\n"
    "(else its name), starting at the millisecond nearest the exact sample\n"
    "where that file begins.\n"
    "\n"
    "  --dry-run [--json]   print the output's name and each file's first and\n"
    "                       end sample; write nothing\n"
    "  --verify [--json]    once the job has run, judge OUT as 'tarvex-cli\n"
    "                       verify' does and print what it found; the exit\n"
    "                       status is 1 when OUT does not hold what the plan says\n"
    "\n";

const char* const kProbe =
    "Usage: tarvex-cli probe FILE... [--json]\n"
    "\n"
    "Shows each file's length (exact sample frames and h:mm:ss.mmm), sample\n"
    "rate, channels, format and tags.\n"
    "\n"
    "  --json               one JSON array with an object per file\n";

const char* const kTags =
    "Usage: tarvex-cli tags FILE [--title T] [--artist A] [--album A]\n"
    "                            [--year Y] [--genre G] [--comment C]\n"
    "\n"
    "Without options, shows the tags of FILE (MP3, Ogg Vorbis or WMA). With\n"
    "options, sets those fields and keeps the others; the file is rewritten\n"
    "through a temporary file, so a failure leaves it as it was. An empty\n"
    "text removes a field.\n";

const char* const kVerify =
    "Usage: tarvex-cli verify split FILE... SPLIT OPTIONS --outputs PIECE...\n"
    "       tarvex-cli verify join FILE... -o OUT\n"
    "\n"
    "Plans the split or join as that command would (the same options, without\n"
    "--dry-run) and judges the outputs already written by decoding them and\n"
    "their sources: a split's PIECEs in plan order, a join's OUT. Writes\n"
    "nothing. split and join --verify run the same checks on what they just\n"
    "wrote. The samples under a fade (its seconds and 10 ms more) are neither\n"
    "aligned nor compared, and the report says how many. For each output it\n"
    "shows:\n"
    "  - the length decoded against the length planned;\n"
    "  - for each part, the offset at its start and end: the source sample\n"
    "    found where the plan puts the part's first (and last) sample, minus\n"
    "    the planned one, searched within two frames (2304 samples at 32 kHz\n"
    "    and above, 1152 below; four times that for a join's parts); negative\n"
    "    means the part begins early, with\n"
    "    audio from before its planned start;\n"
    "  - for MP3 outputs, how many frames were encoded anew (their main data\n"
    "    is found in no frame of the source), else \"not applicable\";\n"
    "  - the largest difference from the source's decode outside those frames\n"
    "    and one granule beside them (held to a float rounding, 1e-6, for MP3\n"
    "    and to a 16-bit step for WAV; only shown for Ogg and WMA);\n"
    "  - at each seam of a join, the gap (or overlap) in samples and the\n"
    "    largest sample-to-sample step across it against the largest step of\n"
    "    the joined audio itself within 50 ms of it (a copied join's planned\n"
    "    crossfade is shown as such).\n"
    "\n"
    "  --outputs PIECE...   the pieces to judge, up to the next option\n"
    "  --json               the findings as JSON\n"
    "\n"
    "Exit status: 0 every output holds what the plan says, 1 a check failed or\n"
    "a file could not be read, 2 the command line (or the number of PIECEs)\n"
    "does not fit.\n";

}  // namespace

QString helpText(const QString& topic) {
  if (topic == QLatin1String("split")) {
    return QString::fromUtf8(kSplit) + QString::fromUtf8(kEncoderOptions);
  }
  if (topic == QLatin1String("join")) {
    return QString::fromUtf8(kJoin) + QString::fromUtf8(kEncoderOptions);
  }
  if (topic == QLatin1String("probe")) return QString::fromUtf8(kProbe);
  if (topic == QLatin1String("tags")) return QString::fromUtf8(kTags);
  if (topic == QLatin1String("verify")) return QString::fromUtf8(kVerify);
  return QString::fromUtf8(kOverview);
}

QString versionText() {
  return QStringLiteral("tarvex-cli " TARVEX_VERSION);
}

}  // namespace tarvex::cli
