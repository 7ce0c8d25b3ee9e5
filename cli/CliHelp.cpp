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
    "\n"
    "  tarvex-cli COMMAND --help   the options of one command\n"
    "  tarvex-cli --version        the version\n"
    "\n"
    "Exit status: 0 done, 1 a file failed, 2 the command line was not understood.\n";

const char* const kEncoderOptions =
    "Encoder options (the settings file's values unless given):\n"
    "  --format mp3|wav|wma|ogg|mp3-copy\n"
    "                       output format (default mp3); mp3-copy copies the\n"
    "                       frames of MP3 files without re-encoding, exact to\n"
    "                       the sample, and encodes as mp3 (saying why) with\n"
    "                       fades, other sources, or a join of files that\n"
    "                       differ in sample rate or channels\n"
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
    "Usage: tarvex-cli split FILE... (--every SECONDS | --pieces N | --ranges RANGES)\n"
    "                        [--output DIR] [encoder options]\n"
    "\n"
    "Cuts each FILE into pieces written as new files into DIR (default: the\n"
    "current folder), named after the file's title or name with _1, _2, ...;\n"
    "an existing file is never written over.\n"
    "\n"
    "  --every SECONDS      pieces of SECONDS seconds, the last one shorter\n"
    "  --pieces N           N pieces of (nearly) equal length\n"
    "  --ranges RANGES      the given stretches, as 0:30-1:15,2:00-2:30\n"
    "                       (times as SS, M:SS or H:MM:SS)\n"
    "  -o, --output DIR     the folder for the pieces (it must exist)\n"
    "\n";

const char* const kJoin =
    "Usage: tarvex-cli join FILE... -o OUT [encoder options]\n"
    "\n"
    "Writes every FILE, in the order given, into the one new file OUT. The\n"
    "format follows --format, else OUT's extension, else MP3 (the extension\n"
    "is then added). OUT must not exist yet.\n"
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
  return QString::fromUtf8(kOverview);
}

QString versionText() {
  return QStringLiteral("tarvex-cli " TARVEX_VERSION);
}

}  // namespace tarvex::cli
