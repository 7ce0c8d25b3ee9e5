#pragma once

#include <QIODevice>

#include "tags/WmaTagRecord.h"

namespace tarvex {

// Reads the attributes of a file whose first object is the header
// {D6E229D1-35DA-11D1-9034-00A0C90349BE}, from its extended content
// description object {D6E229D5-35DA-11D1-9034-00A0C90349BE}. Returns false
// and leaves record unchanged when the file does not start with that header;
// otherwise fills a fresh record with what was found before the end or the
// first malformed object, sets its read flag and returns true. Never throws.
bool parseAsfFallback(QIODevice& device, WmaTagRecord& record);

}  // namespace tarvex
