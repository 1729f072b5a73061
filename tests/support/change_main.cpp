// cartavera-test-change: makes one change to an application folder through
// the program's own windows, as a user would, in a process of its own, so the
// crash-point tests can stop it at any file-system call.
//
//   cartavera-test-change [--come-programma] DIR CHANGE PICTURE
//
// CHANGE names the change (see kChanges below); PICTURE is a picture file
// outside DIR that the file choosers answer with. With --come-programma it
// first takes the folder as the program does at start, and ends with status
// 3 when the program would not start there. Ends with status 1 when the
// program showed an error or a warning, 0 otherwise; the texts shown go to
// the standard error.
#include "app/FolderStart.h"
#include "app/Forms.h"
#include "backup/Backup.h"
#include "app/TfrmCambiaPassword.h"
#include "app/TfrmPassword.h"
#include "clients/TfrmClienti.h"
#include "database/TfrmDatabase.h"
#include "import/ImportPlan.h"
#include "output/SpreadsheetExport.h"
#include "kit/WindowKit.h"
#include "settings/TfrmImpostaAvvio.h"
#include "settings/TfrmImpostaCampi.h"
#include "support/FakeDesktop.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include "storage/CardBin.h"

#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>
#include <functional>
#include <map>

namespace {

using Steps = std::function<void(Forms &, FakeDesktop &, const QString &picture)>;

void databaseCard(Forms &f, FakeDesktop &desktop, const QString &picture, const char *how) {
    TfrmDatabase *w = f.frmDatabase;
    w->present();
    w->cmdUltimo->click();
    if (qstrcmp(how, "new") == 0) {
        w->cmdNuovo->click();
        w->txtCampo[0]->setText(QStringLiteral("Il nome della rosa"));
        w->txtCliente->setText(QStringLiteral("Anna Rossi"));
    } else if (qstrcmp(how, "duplicate") == 0) {
        w->cmdDuplica->click();
    }
    w->txtCampo[13]->setText(QStringLiteral("modificato"));
    desktop.fileNames.enqueue(picture);
    w->btnSfoglia->click();
    w->cmdSalva->click();
}

// Scratch files beside the application folder, inside the calling test's
// own temporary folder: a kill at a crash point leaves nothing behind in the
// system's temporary folder.
QString besideFolder(const Forms &f) {
    return QDir(f.folder.path()).filePath(QStringLiteral("../fuori-XXXXXX"));
}

// A table of `rows` cards without a header, imported in one go.
void importRows(Forms &f, int rows) {
    QTemporaryDir outside(besideFolder(f));
    const QString table = outside.filePath(QStringLiteral("schede.csv"));
    QFile file(table);
    if (!file.open(QIODevice::WriteOnly))
        return;
    for (int i = 1; i <= rows; ++i)
        file.write(QStringLiteral("Titolo %1;Autore %1;Editore %1\r\n").arg(i).toUtf8());
    file.close();
    import::Plan plan(spreadsheet::databaseSheet, f.folder);
    plan.setFirstRow(import::firstRowOf(table));
    import::Counts counts;
    import::append(table, plan, f.folder, counts, {});
}

void clientCard(Forms &f, bool fresh) {
    TfrmClienti *w = f.frmClienti;
    w->present();
    w->cmdUltimo->click();
    if (fresh)
        w->cmdNuovo->click();
    w->txtCliente->setText(QStringLiteral("Anna Rossi"));
    w->cmdSalva->click();
}

const std::map<QString, Steps> kChanges = {
    {QStringLiteral("scheda-nuova"),
     [](Forms &f, FakeDesktop &d, const QString &p) { databaseCard(f, d, p, "new"); }},
    {QStringLiteral("scheda-modificata"),
     [](Forms &f, FakeDesktop &d, const QString &p) { databaseCard(f, d, p, "overwrite"); }},
    {QStringLiteral("scheda-duplicata"),
     [](Forms &f, FakeDesktop &d, const QString &p) { databaseCard(f, d, p, "duplicate"); }},
    {QStringLiteral("cliente-nuovo"),
     [](Forms &f, FakeDesktop &, const QString &) { clientCard(f, true); }},
    {QStringLiteral("cliente-modificato"),
     [](Forms &f, FakeDesktop &, const QString &) { clientCard(f, false); }},
    {QStringLiteral("importa"), [](Forms &f, FakeDesktop &, const QString &) { importRows(f, 5); }},
    {QStringLiteral("importa-grande"),
     [](Forms &f, FakeDesktop &, const QString &) { importRows(f, 30000); }},
    {QStringLiteral("schede-200"),
     [](Forms &f, FakeDesktop &, const QString &) {
         TfrmDatabase *w = f.frmDatabase;
         w->present();
         for (int i = 1; i <= 200; ++i) {
             w->cmdNuovo->click();
             w->txtCampo[0]->setText(QStringLiteral("Scheda salvata %1").arg(i));
             w->txtCliente->setText(QStringLiteral("Anna Rossi"));
             w->cmdSalva->click();
         }
     }},
    // An open program that changes nothing: says "pronto" and waits for its
    // standard input to close.
    {QStringLiteral("attendi"),
     [](Forms &, FakeDesktop &, const QString &) {
         std::puts("pronto");
         std::fflush(stdout);
         while (std::getchar() != EOF) {
         }
     }},
    {QStringLiteral("ripristina"),
     [](Forms &f, FakeDesktop &, const QString &picture) {
         // A backup of another folder: two cards, a client, a card folder,
         // titles of its own; the safety copy goes outside the folder.
         QTemporaryDir outside(besideFolder(f));
         const AppFolder other(outside.filePath(QStringLiteral("altra")));
         QDir().mkpath(other.file(QStringLiteral("Scheda_1")));
         QFile::copy(picture, other.file(QStringLiteral("Scheda_1/pianta.bmp")));
         QFile::copy(f.folder.databaseFile(), other.databaseFile());
         QFile::resize(other.databaseFile(), 2 * DatabaseRecord::kSize);
         QFile::copy(f.folder.clientFile(), other.clientFile());
         QFile::resize(other.clientFile(), ClientRecord::kSize);
         QFile titles(other.settingsFile());
         if (!titles.open(QIODevice::WriteOnly) || titles.write("[Database]\r\nNome Archivio=Altro\r\n") < 0)
             return;
         titles.close();
         const QString zip = outside.filePath(QStringLiteral("copia.zip"));
         backup::makeBackup(other, zip);
         QDir().mkpath(outside.filePath(QStringLiteral("copie")));
         backup::restore(f.folder, zip, outside.filePath(QStringLiteral("copie")));
     }},
    {QStringLiteral("elimina"),
     [](Forms &f, FakeDesktop &, const QString &) { cardbin::remove(f.folder, databaseLayout, 3); }},
    {QStringLiteral("ridai"),
     [](Forms &f, FakeDesktop &, const QString &) {
         cardbin::giveBack(f.folder, cardbin::entries(f.folder).value(0).name);
     }},
    {QStringLiteral("scarta"),
     [](Forms &f, FakeDesktop &, const QString &) {
         cardbin::discard(f.folder, cardbin::entries(f.folder).value(0).name);
     }},
    {QStringLiteral("password"),
     [](Forms &f, FakeDesktop &, const QString &) {
         f.frmPassword->present();
         f.frmPassword->btnCambiaPassword->click();
         TfrmCambiaPassword *w = f.frmCambiaPassword;
         w->txtPasswordOld->setText(QStringLiteral("amministratore"));
         w->txtPasswordNew->setText(QStringLiteral("nuova parola"));
         w->txtConferma->setText(QStringLiteral("nuova parola"));
         w->cmdOK->click();
     }},
    {QStringLiteral("titoli"),
     [](Forms &f, FakeDesktop &, const QString &) {
         f.frmImpostaCampi->present();
         f.frmImpostaCampi->txtCampo[0]->setText(QStringLiteral("Titolo nuovo"));
         f.frmImpostaCampi->btnApplica->click();
     }},
    {QStringLiteral("avvio"),
     [](Forms &f, FakeDesktop &d, const QString &p) {
         f.frmImpostaAvvio->present();
         f.frmImpostaAvvio->txtNomeArchivio->setText(QStringLiteral("Archivio nuovo"));
         d.fileNames.enqueue(p);
         f.frmImpostaAvvio->btnSfoglia->click();
         f.frmImpostaAvvio->btnApplica->click();
     }},
};

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool asProgram = !args.isEmpty() && args.first() == u"--come-programma";
    if (asProgram)
        args.removeFirst();
    if (args.size() != 3 || !kChanges.count(args[1])) {
        std::fputs("uso: cartavera-test-change [--come-programma] DIR CHANGE PICTURE\n", stderr);
        return 2;
    }
    FakeDesktop desktop;
    const AppFolder folder(args[0]);
    FolderLock lock(folder);
    if (asProgram && !openFolder(folder, lock)) {
        for (const FakeDesktop::Message &m : desktop.messages)
            std::fprintf(stderr, "%s\n", qPrintable(m.text));
        return 3;
    }
    Forms windows{folder};
    kChanges.at(args[1])(windows, desktop, args[2]);
    bool failed = false;
    for (const FakeDesktop::Message &m : desktop.messages) {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
        failed |= m.kind == Desktop::Kind::Error || m.kind == Desktop::Kind::Warning;
    }
    return failed ? 1 : 0;
}
