#include "tags/WmaTagRecord.h"

#include "tags/TagText.h"

namespace tarvex {

void fitWmaTagRecord(WmaTagRecord& record) {
  for (QString* text :
       {&record.year, &record.artist, &record.title, &record.album, &record.typeThreeText}) {
    *text = cutToUnits(*text, kWmaTextWidth - 1);
  }
  record.description = cutToUnits(record.description, kWmaDescriptionWidth - 1);
  record.genre = cutToUnits(record.genre, kWmaGenreUsed);
}

}  // namespace tarvex
