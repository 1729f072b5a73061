// The two field tables. Offsets follow from the capacities; the checks below
// hold them to the layouts existing archives use.
#include "DataSet.h"
#include "ClientRecord.h"
#include "DatabaseRecord.h"

#include <array>

namespace {

struct Named {
    const char *name;
    int capacity;
};

template <size_t N> constexpr std::array<FieldSlot, N> packed(const Named (&in)[N]) {
    std::array<FieldSlot, N> out{};
    int offset = 0;
    for (size_t i = 0; i < N; ++i) {
        out[i] = FieldSlot{in[i].name, offset, in[i].capacity};
        offset += in[i].capacity + 1;
    }
    return out;
}

template <size_t N> constexpr int total(const std::array<FieldSlot, N> &f) {
    return f[N - 1].offset + f[N - 1].capacity + 1;
}

constexpr Named kDatabase[] = {
    {"Campo01", 50},      {"Campo02", 50},    {"Campo03", 50},  {"Campo04", 50},  {"Campo05", 50},
    {"Campo06", 50},      {"Campo07", 250},   {"Campo08", 50},  {"Campo09", 50},  {"Campo10", 250},
    {"Campo11", 50},      {"Campo12", 50},    {"Campo13", 250}, {"Campo14", 250}, {"Cliente", 50},
    {"IndirizzoRes", 50}, {"ComuneRes", 50},  {"ProvRes", 2},   {"Email", 50},    {"Recapito", 50},
    {"CodFisc", 16},      {"PartitaIva", 11}, {"Segnala", 2},   {"File01", 250},  {"File02", 250},
    {"File03", 250},      {"Desc01", 250},    {"Desc02", 250},  {"Desc03", 250}};

constexpr Named kClient[] = {
    {"Cliente", 50},   {"DataNasc", 30},   {"ComuneNasc", 50},   {"ProvNasc", 2},
    {"Sesso", 1},      {"Recapito", 50},   {"IndirizzoRes", 50}, {"ProvRes", 2},
    {"ComuneRes", 50}, {"CapRes", 5},      {"Estremi", 250},     {"TelCasa", 30},
    {"TelUff", 30},    {"TelCel", 30},     {"Fax", 30},          {"Email", 50},
    {"CodFisc", 16},   {"Carta", 30},      {"ScadeCarta", 30},   {"PartitaIva", 11},
    {"Iban", 27},      {"Documento", 120}, {"Occupazione", 50},  {"Civile", 50},
    {"Titoli", 120},   {"Prodotti", 120},  {"Zona", 50},         {"Questioni", 250},
    {"Note", 250},     {"Ricontatta", 2},  {"File01", 250},      {"File02", 250},
    {"File03", 250},   {"Desc01", 250},    {"Desc02", 250},      {"Desc03", 250}};

constexpr auto kDatabaseFields = packed(kDatabase);
constexpr auto kClientFields = packed(kClient);

static_assert(kDatabaseFields.size() == DatabaseField::Count);
static_assert(total(kDatabaseFields) == DatabaseRecord::kSize);
static_assert(kDatabaseFields[DatabaseField::ProvRes].offset == 1667);
static_assert(kDatabaseFields[DatabaseField::Segnala].offset == 1801);
static_assert(kClientFields.size() == ClientField::Count);
static_assert(total(kClientFields) == ClientRecord::kSize);
static_assert(kClientFields[ClientField::Ricontatta].offset == 1863);

} // namespace

const RecordLayout databaseLayout{dataset::kDatabaseFile, DatabaseRecord::kSize, kDatabaseFields};
const RecordLayout clientLayout{dataset::kClientFile, ClientRecord::kSize, kClientFields};
