// vCard from the client workspace: the client shown or the whole registry to
// one .vcf file, and the clients of a .vcf file added to the registry, with
// the choosers, the confirmation and the messages through the Desktop.
#pragma once

#include "storage/AppFolder.h"
#include "storage/ClientRecord.h"

class QWidget;

namespace import {

// Asks where to save and writes `client`'s vCard; true when written.
bool exportClientToVCard(QWidget *parent, const AppFolder &folder, const ClientRecord &client);
// Asks where to save and writes every client's vCard to one file; the number
// written, or -1 when nothing was.
qint64 exportRegistryToVCard(QWidget *parent, const AppFolder &folder);
// Asks for a .vcf file and runs the import window on it (the mapping of its
// columns, the first cards as they will be stored, the counts); the number of
// clients added.
qint64 importVCardFromWindow(QWidget *parent, const AppFolder &folder);

} // namespace import
