// The user guide Guida.pdf: every window's guide topic, one chapter each,
// written from the same texts the guide window shows.
#pragma once

#include "kit/Guide.h"

#include <QList>

// The topics of the windows that have a guide button, in the order of the
// user guide: start screen, database, clients, exports, settings.
QList<GuideTopic> guideBookTopics();

// Writes the user guide (A4: a title page with the contents, then one chapter
// per topic) to `path`. Returns false when the file cannot be written.
bool writeGuideBook(const QString &path, const QList<GuideTopic> &topics);
