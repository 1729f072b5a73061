#include "TfrmSegnalati.h"

#include "kit/Shell.h"
#include "storage/AppFolder.h"

#include <QLineEdit>

TfrmSegnalati::TfrmSegnalati(QWidget *parent)
    : ListWindow(QStringLiteral("frmSegnalati"), QStringLiteral(" Riepilogo record segnalati"),
                 parent) {}

void TfrmSegnalati::open(QWidget *owner, LoadRecord<DatabaseRecord> load) {
    TfrmSegnalati dialog(owner);
    dialog.loadInto<DatabaseRecord>(std::move(load));
    dialog.run();
}

void TfrmSegnalati::FormShow() {
    ListWindow::FormShow();
    showFound([](search::HitList &found) {
        search::flaggedCards(shell().appFolder().databaseFile(), search::Missing::Create, found);
    });
    txtTrova->setFocus(Qt::OtherFocusReason);
}
