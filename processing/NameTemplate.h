#pragma once

#include <QString>

namespace tarvex {

// What a piece's name may say about it.
struct NameFields {
  int n = 1;  // the piece's place among its source's pieces, from 1
  int N = 1;  // how many pieces its source gives
  QString title;
  QString artist;
  QString album;
  QString year;
  QString source;           // the source file's name without its extension
  double startSeconds = 0;  // where the piece starts in its source
};

// A piece name template: text with fields in braces, {n}, {N}, {title},
// {artist}, {album}, {year}, {source} and {start}; "{{" and "}}" are
// braces. {n} and {N} take a width, "{n:3}" padding with blanks and
// "{n:03}" with zeros (at most 9); {start} is "M.SS" (minutes and seconds),
// "H.MM.SS" from an hour on, and "{start:ms}" the milliseconds. Throws Error
// naming the template for an unknown field, a bad width, or an unclosed
// brace.
void checkNameTemplate(const QString& nameTemplate);

// The file name (without folder or extension) the template gives: fields
// filled in, then made safe: no path separators or characters file systems
// refuse (CleanName), no control characters, no leading or trailing blanks
// or dots. Empty when nothing is left. Throws Error as checkNameTemplate.
QString expandNameTemplate(const QString& nameTemplate, const NameFields& fields);

}  // namespace tarvex
