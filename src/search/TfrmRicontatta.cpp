#include "TfrmRicontatta.h"

#include "kit/Shell.h"
#include "storage/AppFolder.h"

#include <QLineEdit>

TfrmRicontatta::TfrmRicontatta(QWidget *parent)
    : ListWindow(QStringLiteral("frmRicontatta"),
                 QStringLiteral(" Riepilogo Clienti da ricontattare"), parent) {}

void TfrmRicontatta::open(QWidget *owner, LoadRecord<ClientRecord> load) {
    TfrmRicontatta dialog(owner);
    dialog.loadInto<ClientRecord>(std::move(load));
    dialog.run();
}

void TfrmRicontatta::FormShow() {
    ListWindow::FormShow();
    showFound([](search::HitList &found) {
        search::clientsToRecontact(shell().appFolder().clientFile(), search::Missing::Create,
                                   found);
    });
    txtTrova->setFocus(Qt::OtherFocusReason);
}
