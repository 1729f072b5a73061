// Synthetic archives with realistic Italian text, for benchmarks and tests.
// The same seed always gives the same cards.
#pragma once

#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"

#include <QString>
#include <cstdint>

namespace synthetic {

DatabaseRecord databaseCard(uint64_t seed);
ClientRecord clientCard(uint64_t seed);

// Writes `count` cards (seeds 0 … count − 1) to `path`, replacing the file.
// Returns false when the file cannot be written.
bool writeDatabase(const QString &path, qint64 count);
bool writeClients(const QString &path, qint64 count);

} // namespace synthetic
