// The 3372-byte client card of Clienti.pro: 36 short text fields, no padding.
#pragma once

#include "RecordLayout.h"

namespace ClientField {
enum : int {
    Cliente,
    DataNasc,
    ComuneNasc,
    ProvNasc,
    Sesso,
    Recapito,
    IndirizzoRes,
    ProvRes,
    ComuneRes,
    CapRes,
    Estremi,
    TelCasa,
    TelUff,
    TelCel,
    Fax,
    Email,
    CodFisc,
    Carta,
    ScadeCarta,
    PartitaIva,
    Iban,
    Documento,
    Occupazione,
    Civile,
    Titoli,
    Prodotti,
    Zona,
    Questioni,
    Note,
    Ricontatta,
    File01,
    File02,
    File03,
    Desc01,
    Desc02,
    Desc03,
    Count
};
} // namespace ClientField

extern const RecordLayout clientLayout;

class ClientRecord : public Record {
  public:
    static constexpr int kSize = 3372;
    static constexpr const RecordLayout &kLayout = clientLayout;
    ClientRecord() : Record(clientLayout) {}
};
