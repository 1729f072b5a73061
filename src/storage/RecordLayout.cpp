#include "RecordLayout.h"

#include "TextRules.h"

#include <algorithm>
#include <cstring>

int RecordLayout::indexOf(QStringView name) const {
    for (int i = 0; i < int(fields.size()); ++i)
        if (name.compare(QLatin1StringView(fields[i].name), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

namespace shorttext {

void store(char *field, int capacity, QStringView value) {
    storeBytes(field, capacity, text::encode1252(text::trimmed(value)));
}

void storeBytes(char *field, int capacity, QByteArrayView bytes) {
    const int length = int(std::min<qsizetype>(bytes.size(), capacity));
    field[0] = char(length);
    std::memcpy(field + 1, bytes.constData(), size_t(length));
    std::memset(field + 1 + length, 0, size_t(capacity - length));
}

QByteArrayView raw(const char *field, int capacity) {
    const int length = std::min<int>(static_cast<unsigned char>(field[0]), capacity);
    return QByteArrayView(field + 1, length);
}

QString load(const char *field, int capacity) {
    return text::trimmed(text::decode1252(raw(field, capacity)));
}

} // namespace shorttext

Record::Record(const RecordLayout &layout) : m_layout(&layout), m_bytes(layout.size, '\0') {}

QString Record::text(int field) const {
    const FieldSlot &f = m_layout->fields[field];
    return shorttext::load(data() + f.offset, f.capacity);
}

QByteArrayView Record::raw(int field) const {
    const FieldSlot &f = m_layout->fields[field];
    return shorttext::raw(data() + f.offset, f.capacity);
}

void Record::setText(int field, QStringView value) {
    const FieldSlot &f = m_layout->fields[field];
    shorttext::store(data() + f.offset, f.capacity, value);
}

std::optional<bool> Record::yesNo(int field) const {
    const char *p = data() + m_layout->fields[field].offset;
    if (std::memcmp(p, shorttext::kYes, 3) == 0)
        return true;
    if (std::memcmp(p, shorttext::kNo, 3) == 0)
        return false;
    return std::nullopt;
}

void Record::setYesNo(int field, bool yes) {
    const FieldSlot &f = m_layout->fields[field];
    char *p = data() + f.offset;
    std::memcpy(p, yes ? shorttext::kYes : shorttext::kNo, 3);
    std::memset(p + 3, 0, size_t(f.capacity - 2));
}

void Record::clear() {
    m_bytes.fill('\0');
}

bool isFreeSlot(const char *record, int size) {
    return std::all_of(record, record + size, [](char c) { return c == '\0'; });
}
