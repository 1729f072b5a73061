#include "DataSet.h"

#include <QRegularExpression>

namespace dataset {

QString photoName(QStringView position) {
    return position.toString() + QStringLiteral(".jpg");
}

QString cardFolderName(QStringView position) {
    return QStringLiteral("Scheda_") + position.toString();
}

const QStringList &fixedFiles() {
    static const QStringList files = {
        QString::fromLatin1(kLogoFile),     QString::fromLatin1(kSettingsFile),
        QString::fromLatin1(kPasswordFile), QString::fromLatin1(kClientFile),
        QString::fromLatin1(kDatabaseFile),
    };
    return files;
}

Item itemOf(const QString &name) {
    static const QRegularExpression photo(QStringLiteral("^[0-9]+\\.jpg$"));
    static const QRegularExpression card(QStringLiteral("^Scheda_[0-9]+$"));
    if (fixedFiles().contains(name))
        return Item::FixedFile;
    if (photo.match(name).hasMatch())
        return Item::Photo;
    if (name == QLatin1String(kAttachmentsFolder))
        return Item::Attachments;
    if (card.match(name).hasMatch())
        return Item::CardFolder;
    if (name == QLatin1String(kBinFolder))
        return Item::Bin;
    return Item::None;
}

int restoreRank(const QString &name) {
    return int(fixedFiles().indexOf(name));
}

} // namespace dataset
