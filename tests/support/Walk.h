// The whole program walked through as a user first meets it: the login, the
// start screen, each workspace with its arrows, its search, its list, its
// export window and its "Salva", the client pick, and the two settings
// windows, each opened and left with "Annulla". The walk notes, step by step,
// the messages shown and what each window showed, for the tests that put a
// damaged file in the application folder and check that every window shows
// what it can, says what it cannot and never blocks.
#pragma once

#include "app/TfrmAvvio.h"
#include "app/TfrmPassword.h"
#include "clients/TfrmClienti.h"
#include "database/PhotoView.h"
#include "database/TfrmDatabase.h"
#include "output/ExportWindow.h"
#include "output/TfrmExpClienti.h"
#include "output/TfrmExpDatabase.h"
#include "search/ListRun.h"
#include "search/TfrmRicontatta.h"
#include "search/TfrmSegnalati.h"
#include "search/TfrmTrovaClienti.h"
#include "search/TfrmTrovaDatabase.h"
#include "settings/TfrmImpostaAvvio.h"
#include "settings/TfrmImpostaCampi.h"
#include "settings/TfrmMenuImpostazioni.h"
#include "storage/PasswordFile.h"
#include "support/AppFixture.h"
#include "support/Deadline.h"
#include "support/Typing.h"

#include <QMap>
#include <QtTest>

struct Walk {
    // Step → the messages it showed, each as "<kind>: <text>".
    QMap<QString, QStringList> messages;
    // Step → what its window showed.
    QMap<QString, QString> seen;
    // The steps taken, in order.
    QStringList steps;

    QStringList messagesOf(const QString &step) const { return messages.value(step); }
};

inline QString kindName(Desktop::Kind kind) {
    switch (kind) {
    case Desktop::Kind::Warning:
        return QStringLiteral("warning");
    case Desktop::Kind::Error:
        return QStringLiteral("error");
    case Desktop::Kind::Information:
        return QStringLiteral("information");
    case Desktop::Kind::Confirmation:
        return QStringLiteral("confirmation");
    case Desktop::Kind::Risky:
        return QStringLiteral("risky question");
    case Desktop::Kind::SaveChanges:
        return QStringLiteral("save question");
    case Desktop::Kind::Plain:
        return QStringLiteral("plain");
    }
    return {};
}

// A message as the walk notes it.
inline QString shownMessage(Desktop::Kind kind, const QString &text) {
    return kindName(kind) + QStringLiteral(": ") + text;
}

namespace walk {

// Runs `step` and notes under `name` the messages it showed.
inline void take(AppFixture &app, Walk &walk, const QString &name,
                 const std::function<void()> &step) {
    const qsizetype before = app.desktop.messages.size();
    step();
    QStringList shown;
    for (const FakeDesktop::Message &m : app.desktop.messages.mid(before))
        shown << shownMessage(m.kind, m.text);
    walk.messages.insert(name, shown);
    walk.steps << name;
}

inline QString positionsAfter(QLabel *lblPosizione, const QList<QAbstractButton *> &arrows) {
    QStringList positions;
    for (QAbstractButton *arrow : arrows) {
        QTest::mouseClick(arrow, Qt::LeftButton);
        positions << (lblPosizione->text().isEmpty() ? QStringLiteral("-") : lblPosizione->text());
    }
    return positions.join(u' ');
}

// A search window opened from `button`: "Cerca" with every box empty lists the
// whole archive; a double-click on the first line (if any) loads it.
template <class W> QString searchAll(AppFixture &app, QAbstractButton *button) {
    QString seen;
    runFrom<W>(app.desktop, button, [&](W &w) {
        QTest::mouseClick(w.btnCerca, Qt::LeftButton);
        seen = QString::number(w.hits().size());
        if (!w.hits().isEmpty())
            doubleClickLine(w, 0);
        else
            w.close();
    });
    return seen;
}

// A list window opened from `button`: the number of lines; a double-click on
// the first (if any) loads it.
template <class W> QString listAll(AppFixture &app, QAbstractButton *button) {
    QString seen;
    runFrom<W>(app.desktop, button, [&](W &w) {
        seen = QString::number(w.hits().size());
        if (!w.hits().isEmpty())
            doubleClickLine(w, 0);
        else
            w.close();
    });
    return seen;
}

// An export window opened from `button`: the number of grid rows; then the
// export, answered Yes to writing and No to opening the file.
inline QString exportAll(AppFixture &app, QAbstractButton *button) {
    QString seen;
    app.desktop.onModal = [&](QDialog &dialog) {
        auto *w = qobject_cast<ExportWindow *>(&dialog);
        QVERIFY(w);
        seen = QString::number(w->grdRecords->model()->rowCount());
        app.desktop.answers.clear();
        app.desktop.answers << Desktop::Answer::Yes << Desktop::Answer::No;
        QTest::mouseClick(w->cmdEsporta, Qt::LeftButton);
        app.desktop.answers.clear();
        w->close();
    };
    QTest::mouseClick(button, Qt::LeftButton);
    app.desktop.onModal = nullptr;
    return seen;
}

inline QString photoShown(const TfrmDatabase *w) {
    return w->imgFoto->picture() == w->imgBianco->picture() ? QStringLiteral("default")
                                                            : QStringLiteral("own");
}

} // namespace walk

// Walks the program from the login, typing `password`. Each workspace visit
// ends with a new card stored by "Salva" when `saves` is set.
inline void walkEveryWindow(AppFixture &app, Walk &walk, const QString &password, bool saves) {
    using walk::take;
    Forms &forms = *app.windows;
    forms.startUp();
    QVERIFY(QTest::qWaitForWindowExposed(forms.frmPassword));

    take(app, walk, QStringLiteral("login"), [&] {
        typeText(forms.frmPassword->txtPassword, password);
        QTest::mouseClick(forms.frmPassword->cmdOK, Qt::LeftButton);
    });
    walk.seen.insert(QStringLiteral("login"), app.visibleWindows().join(u' '));
    if (!forms.frmAvvio->isVisible())
        return;

    TfrmAvvio *start = forms.frmAvvio;
    walk.seen.insert(QStringLiteral("start"),
                     start->titNomeArchivio->text() + u'|' + start->titSottotitolo->text());
    walk.seen.insert(QStringLiteral("start picture"),
                     start->imgLogo->pixmap().toImage() == start->imgTemp->pixmap().toImage()
                         ? QStringLiteral("default")
                         : QStringLiteral("own"));

    // The database workspace.
    TfrmDatabase *db = forms.frmDatabase;
    take(app, walk, QStringLiteral("database"),
         [&] { QTest::mouseClick(start->cmdDatabase, Qt::LeftButton); });
    QVERIFY(db->isVisible());
    walk.seen.insert(QStringLiteral("database"),
                     db->titNomeArchivio->text() + u'|' + db->titCampo[0]->text());
    take(app, walk, QStringLiteral("database first"), [&] {
        walk.seen.insert(QStringLiteral("database first"),
                         walk::positionsAfter(db->lblPosizione, {db->cmdPrimo}));
        walk.seen.insert(QStringLiteral("database photo"), walk::photoShown(db));
        walk.seen.insert(QStringLiteral("database card"), db->txtCampo[0]->text());
    });
    take(app, walk, QStringLiteral("database arrows"), [&] {
        walk.seen.insert(QStringLiteral("database arrows"),
                         walk::positionsAfter(db->lblPosizione,
                                              {db->cmdAvanti, db->cmdUltimo, db->cmdIndietro}));
    });
    take(app, walk, QStringLiteral("database search"), [&] {
        db->cmdNuovoClick();
        walk.seen.insert(QStringLiteral("database search"),
                         walk::searchAll<TfrmTrovaDatabase>(app, db->cmdTrova));
        walk.seen.insert(QStringLiteral("database search loads"), db->lblPosizione->text());
    });
    take(app, walk, QStringLiteral("flagged"), [&] {
        db->cmdNuovoClick();
        walk.seen.insert(QStringLiteral("flagged"),
                         walk::listAll<TfrmSegnalati>(app, db->cmdSegnalati));
        walk.seen.insert(QStringLiteral("flagged loads"), db->lblPosizione->text());
    });
    take(app, walk, QStringLiteral("client pick"), [&] {
        db->cmdNuovoClick();
        walk.seen.insert(QStringLiteral("client pick"),
                         walk::searchAll<TfrmTrovaClienti>(app, db->impCliente));
        walk.seen.insert(QStringLiteral("client pick copies"), db->txtCliente->text());
    });
    take(app, walk, QStringLiteral("database export"), [&] {
        walk.seen.insert(QStringLiteral("database export"), walk::exportAll(app, db->cmdEsporta));
    });
    if (saves)
        take(app, walk, QStringLiteral("database save"), [&] {
            // A new card, dropping the contact block the pick filled without
            // the question (whose asking depends on the client archive).
            db->ClearCard();
            typeText(db->txtCampo[0], QStringLiteral("Scheda nuova"));
            typeText(db->txtCliente, QStringLiteral("Rossi Anna"));
            QTest::mouseClick(db->cmdSalva, Qt::LeftButton);
            walk.seen.insert(QStringLiteral("database save"), db->lblPosizione->text());
        });
    QTest::mouseClick(db->cmdEsci, Qt::LeftButton);
    QVERIFY(start->isVisible());

    // The client workspace.
    TfrmClienti *cl = forms.frmClienti;
    QTest::mouseClick(start->cmdClienti, Qt::LeftButton);
    QVERIFY(cl->isVisible());
    take(app, walk, QStringLiteral("clients first"), [&] {
        walk.seen.insert(QStringLiteral("clients first"),
                         walk::positionsAfter(cl->lblPosizione, {cl->cmdPrimo}));
        walk.seen.insert(QStringLiteral("clients card"), cl->txtCliente->text());
    });
    take(app, walk, QStringLiteral("clients arrows"), [&] {
        walk.seen.insert(QStringLiteral("clients arrows"),
                         walk::positionsAfter(cl->lblPosizione,
                                              {cl->cmdAvanti, cl->cmdUltimo, cl->cmdIndietro}));
    });
    take(app, walk, QStringLiteral("clients search"), [&] {
        cl->cmdNuovoClick();
        walk.seen.insert(QStringLiteral("clients search"),
                         walk::searchAll<TfrmTrovaClienti>(app, cl->cmdTrova));
        walk.seen.insert(QStringLiteral("clients search loads"), cl->lblPosizione->text());
    });
    take(app, walk, QStringLiteral("recontact"), [&] {
        cl->cmdNuovoClick();
        walk.seen.insert(QStringLiteral("recontact"),
                         walk::listAll<TfrmRicontatta>(app, cl->cmdRicontatta));
        walk.seen.insert(QStringLiteral("recontact loads"), cl->lblPosizione->text());
    });
    take(app, walk, QStringLiteral("clients export"), [&] {
        walk.seen.insert(QStringLiteral("clients export"), walk::exportAll(app, cl->cmdEsporta));
    });
    if (saves)
        take(app, walk, QStringLiteral("clients save"), [&] {
            cl->cmdNuovoClick();
            typeText(cl->txtCliente, QStringLiteral("Verdi Luca"));
            QTest::mouseClick(cl->cmdSalva, Qt::LeftButton);
            walk.seen.insert(QStringLiteral("clients save"), cl->lblPosizione->text());
        });
    QTest::mouseClick(cl->cmdEsci, Qt::LeftButton);
    QVERIFY(start->isVisible());

    // The two settings windows, each left with "Annulla".
    take(app, walk, QStringLiteral("field titles"), [&] {
        QTest::mouseClick(start->cmdImpostazioni, Qt::LeftButton);
        QTest::mouseClick(forms.frmMenuImpostazioni->btnImpostaCampi, Qt::LeftButton);
        TfrmImpostaCampi *titles = forms.frmImpostaCampi;
        QVERIFY(titles->isVisible());
        walk.seen.insert(QStringLiteral("field titles"),
                         titles->titNomeArchivio->text() + u'|' + titles->txtCampo[0]->text());
        QTest::mouseClick(titles->btnAnnulla, Qt::LeftButton);
    });
    QVERIFY(start->isVisible());
    take(app, walk, QStringLiteral("start settings"), [&] {
        QTest::mouseClick(start->cmdImpostazioni, Qt::LeftButton);
        QTest::mouseClick(forms.frmMenuImpostazioni->btnImpostaAvvio, Qt::LeftButton);
        TfrmImpostaAvvio *settings = forms.frmImpostaAvvio;
        QVERIFY(settings->isVisible());
        walk.seen.insert(QStringLiteral("start settings"), settings->txtNomeArchivio->text() +
                                                               u'|' +
                                                               settings->txtSottotitolo->text());
        walk.seen.insert(QStringLiteral("start settings picture"),
                         settings->picture().size() == QSize(912, 409) ? QStringLiteral("default")
                                                                       : QStringLiteral("own"));
        QTest::mouseClick(settings->btnAnnulla, Qt::LeftButton);
    });
    QVERIFY(start->isVisible());
}

// An application folder in good order: the password "amministratore", the
// settings, a start picture, three cards (the first and the third flagged,
// the first with a photo) and three clients (the second to recontact).
inline void writeGoodFolder(AppFixture &app) {
    const AppFolder &folder = app.windows->folder;
    password::write(folder, QStringLiteral("AMMINISTRATORE"));
    QVERIFY(
        app.write(QStringLiteral("Archivio.ini"),
                  "[Database]\r\nNome Archivio=Archivio prove\r\n"
                  "Sottotitolo Archivio=Sottotitolo\r\n[Nome Campi]\r\nCampo 01=Titolo uno\r\n"));
    QImage logo(200, 100, QImage::Format_RGB32);
    logo.fill(Qt::red);
    QVERIFY(logo.save(app.path(QStringLiteral("Logo.bmp")), "BMP"));
    QImage photo(100, 50, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    QVERIFY(photo.save(app.path(QStringLiteral("1.jpg")), "JPG"));
    QList<DatabaseRecord> cards;
    QList<ClientRecord> clients;
    for (int i = 1; i <= 3; ++i) {
        DatabaseRecord card = recordWith<DatabaseRecord>(
            {{DatabaseField::Campo01, QStringLiteral("Scheda %1").arg(i)},
             {DatabaseField::Cliente, QStringLiteral("Contatto %1").arg(i)}});
        card.setYesNo(DatabaseField::Segnala, i != 2);
        cards << card;
        ClientRecord client =
            recordWith<ClientRecord>({{ClientField::Cliente, QStringLiteral("Cliente %1").arg(i)}});
        client.setYesNo(ClientField::Ricontatta, i == 2);
        clients << client;
    }
    appendRecords(folder, cards);
    appendRecords(folder, clients);
}

// What a walk over a damaged folder shows otherwise than the walk over a good
// one, by "seen <step>" or "messages <step>".
using Expected = QMap<QString, QString>;

// The steps of `walk` that differ from `reference`, each as "<step>: <what>",
// leaving out the ones `expected` names ("seen <step>" or "messages <step>")
// and comparing those with the value given there.
inline QStringList differences(const Walk &walk, const Walk &reference, const Expected &expected) {
    QStringList found;
    auto check = [&](const QString &key, const QString &got, const QString &usual) {
        const QString want = expected.value(key, usual);
        if (got != want)
            found << key + QStringLiteral(": got \"") + got + QStringLiteral("\", expected \"") +
                         want + u'"';
    };
    for (const QString &step : reference.steps)
        check(QStringLiteral("messages ") + step, walk.messagesOf(step).join(u'|'),
              reference.messagesOf(step).join(u'|'));
    for (auto it = reference.seen.cbegin(); it != reference.seen.cend(); ++it)
        check(QStringLiteral("seen ") + it.key(), walk.seen.value(it.key()), it.value());
    return found;
}

// The same walk under a watchdog that, should a window block, releases a FIFO
// at the file `name` of the application folder and fails the test.
inline void walkGuarded(AppFixture &app, Walk &walk, const QString &name, bool saves) {
    using namespace std::chrono_literals;
    const QString path = app.path(name);
    Watchdog guard(30s, [path] { wakeFifo(path); });
    walkEveryWindow(app, walk, QStringLiteral("amministratore"), saves);
    guard.disarm();
    QVERIFY2(!guard.fired(), "a window blocked");
}
