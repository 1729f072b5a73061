// The 3310-byte card of Database.pro: 29 short text fields, no padding.
#pragma once

#include "RecordLayout.h"

namespace DatabaseField {
enum : int {
    Campo01,
    Campo02,
    Campo03,
    Campo04,
    Campo05,
    Campo06,
    Campo07,
    Campo08,
    Campo09,
    Campo10,
    Campo11,
    Campo12,
    Campo13,
    Campo14,
    Cliente,
    IndirizzoRes,
    ComuneRes,
    ProvRes,
    Email,
    Recapito,
    CodFisc,
    PartitaIva,
    Segnala,
    File01,
    File02,
    File03,
    Desc01,
    Desc02,
    Desc03,
    Count
};
} // namespace DatabaseField

extern const RecordLayout databaseLayout;

class DatabaseRecord : public Record {
  public:
    static constexpr int kSize = 3310;
    static constexpr const RecordLayout &kLayout = databaseLayout;
    DatabaseRecord() : Record(databaseLayout) {}
};
