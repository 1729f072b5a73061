// Fixed-size records of short text fields: the field tables of both archives.
//
// A short text field of capacity N takes N + 1 bytes: a length byte L and N
// bytes of Windows-1252 text, of which the first L count.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>
#include <span>

struct FieldSlot {
    const char *name; // the field's name, as the control that shows it
    int offset;       // from the start of the record
    int capacity;     // N: the most text bytes the field holds
};

struct RecordLayout {
    const char *fileName; // in the application folder
    int size;             // bytes of one record
    std::span<const FieldSlot> fields;

    int indexOf(QStringView name) const; // -1 when there is no such field
};

namespace shorttext {

// The bytes of a Yes/No field: "Sì" and "No", length byte included.
inline constexpr char kYes[3] = {'\x02', 'S', '\xEC'};
inline constexpr char kNo[3] = {'\x02', 'N', 'o'};

// Writes `text` trimmed, in Windows-1252 ("?" for what it cannot hold), cut to
// `capacity` bytes, into the capacity + 1 bytes at `field`. Unused bytes become 0.
void store(char *field, int capacity, QStringView text);
// The same for text already in Windows-1252: `bytes` cut to `capacity`.
void storeBytes(char *field, int capacity, QByteArrayView bytes);
// The stored text bytes; a damaged length byte (L > N) counts as N.
QByteArrayView raw(const char *field, int capacity);
// The stored text decoded and trimmed.
QString load(const char *field, int capacity);

} // namespace shorttext

// True when a record's `size` bytes are the free slot a deleted card leaves
// (every byte 0: no saved card is, since it always holds its flag).
bool isFreeSlot(const char *record, int size);

// One record of a layout, held as its exact bytes.
class Record {
  public:
    explicit Record(const RecordLayout &layout);

    const RecordLayout &layout() const { return *m_layout; }
    char *data() { return m_bytes.data(); }
    const char *data() const { return m_bytes.constData(); }
    const QByteArray &bytes() const { return m_bytes; }

    QString text(int field) const;
    QByteArrayView raw(int field) const;
    void setText(int field, QStringView text);

    // Yes/No fields: true for "Sì", false for "No", nothing for any other value.
    std::optional<bool> yesNo(int field) const;
    void setYesNo(int field, bool yes);

    void clear(); // every byte 0: every field empty

  private:
    const RecordLayout *m_layout;
    QByteArray m_bytes;
};
