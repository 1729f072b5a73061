// cartavera-scale FOLDER STEP: one step of the program's use on the archives
// of FOLDER, timed end to end through the real windows (offscreen, questions
// answered Yes and then No), in a process of its own so that the peak memory
// printed is the step's own. bench/scale.sh runs every step and prints the
// ratios.
//
//   start        the registry created and the database workspace shown
//   navigate     ten moves of the database workspace (last, first, next …);
//                the figure is one move
//   search       "Cerca" with no filter: every card listed
//   flagged      the flagged-card list
//   recontact    the recontact list of the client registry
//   exportwindow the database export window open, its first screen of rows read
//   export       the database export written from its window
//   summary      every card listed, then "Stampa": the summary's pages
//                prepared and printed to a PDF file
//   restore      the backup named by CARTAVERA_SCALE_ARCHIVE restored as the
//                start screen's "Ripristina" does it, the file chosen and
//                the question answered Yes: every entry checked, the
//                question, the safety backup (beside the archive) and the
//                unpacking, the moves into place
//
// Output: "STEP MILLISECONDS PEAK_MB".
#include "app/Forms.h"
#include "backup/BackupWindows.h"
#include "kit/WindowKit.h"
#include "clients/TfrmClienti.h"
#include "database/TfrmDatabase.h"
#include "output/ExportGridModel.h"
#include "output/ExportWindow.h"
#include "report/ReportPrinter.h"
#include "search/ListWindow.h"
#include "search/SearchWindow.h"
#include "support/FakeDesktop.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <cstdio>
#include <sys/resource.h>

namespace {

// The fake desktop, printing for real: to a PDF file beside the archives.
class PrintingDesktop : public FakeDesktop {
  public:
    QString pdf;
    bool print(QWidget *, const report::PreparedReport &prepared) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageLayout(prepared.layout);
        return report::printPages(printer, prepared, [](int, int) { return true; });
    }
};

void click(QAbstractButton *button) {
    button->click();
}

// Runs `steps` in the modal window `button` opens.
void inWindow(PrintingDesktop &desktop, QAbstractButton *button,
              const std::function<void(QDialog &)> &steps) {
    desktop.onModal = [&](QDialog &dialog) {
        QCoreApplication::processEvents();
        steps(dialog);
        dialog.close();
    };
    click(button);
    desktop.onModal = nullptr;
}

// "Cerca" with every box empty, until the list shows.
void listEverything(SearchWindow &w) {
    click(w.btnCerca);
    while (w.hits().isEmpty() && w.isVisible())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: cartavera-scale CARTELLA PASSO\n");
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString step = QString::fromLatin1(argv[2]);
    PrintingDesktop desktop;
    desktop.pdf = folder + QStringLiteral("/Riepilogo.pdf");

    QElapsedTimer timer;
    timer.start();
    Forms forms{AppFolder(folder)};
    TfrmDatabase *database = forms.frmDatabase;
    double ms = -1;
    auto lap = [&] { return double(timer.nsecsElapsed()) / 1e6; };

    if (step == QLatin1String("restore")) {
        desktop.fileNames << qEnvironmentVariable("CARTAVERA_SCALE_ARCHIVE");
        timer.restart();
        if (!backup::restoreFromWindow(nullptr, AppFolder(folder)))
            std::fprintf(stderr, "ripristino non eseguito\n");
        ms = lap();
    } else if (step == QLatin1String("start")) {
        database->present();
        QCoreApplication::processEvents();
        ms = lap();
    } else {
        database->present();
        QCoreApplication::processEvents();
    }
    if (step == QLatin1String("restore")) {
        // timed above
    } else if (step == QLatin1String("navigate")) {
        timer.restart();
        click(database->cmdUltimo);
        click(database->cmdPrimo);
        for (int i = 0; i < 8; ++i)
            click(database->cmdAvanti);
        QCoreApplication::processEvents();
        ms = lap() / 10;
    } else if (step == QLatin1String("search") || step == QLatin1String("summary")) {
        inWindow(desktop, database->cmdTrova, [&](QDialog &dialog) {
            auto &w = static_cast<SearchWindow &>(dialog);
            timer.restart();
            listEverything(w);
            QCoreApplication::processEvents();
            if (step == QLatin1String("summary")) {
                timer.restart();
                click(w.btnStampa);
            }
            ms = lap();
        });
    } else if (step == QLatin1String("flagged")) {
        timer.restart();
        inWindow(desktop, database->cmdSegnalati, [&](QDialog &) { ms = lap(); });
    } else if (step == QLatin1String("recontact")) {
        forms.frmClienti->present();
        QCoreApplication::processEvents();
        timer.restart();
        inWindow(desktop, forms.frmClienti->cmdRicontatta, [&](QDialog &) { ms = lap(); });
    } else if (step == QLatin1String("exportwindow") || step == QLatin1String("export")) {
        timer.restart();
        inWindow(desktop, database->cmdEsporta, [&](QDialog &dialog) {
            auto &w = static_cast<ExportWindow &>(dialog);
            QCoreApplication::processEvents();
            const QAbstractItemModel &model = *w.model();
            for (int r = 0; r < std::min(model.rowCount(), 40); ++r)
                for (int c = 0; c < model.columnCount(); ++c)
                    model.data(model.index(r, c));
            if (step == QLatin1String("export")) {
                desktop.answers << Desktop::Answer::Yes << Desktop::Answer::No;
                timer.restart();
                w.cmdEsportaClick();
            }
            ms = lap();
        });
    }
    if (ms < 0) {
        std::fprintf(stderr, "passo sconosciuto: %s\n", argv[2]);
        return 1;
    }
    for (const FakeDesktop::Message &m : desktop.messages)
        if (m.kind == Desktop::Kind::Error || m.kind == Desktop::Kind::Warning)
            std::fprintf(stderr, "messaggio: %s\n", qPrintable(m.text));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %.1f %.0f\n", argv[2], ms, double(usage.ru_maxrss) / 1024.0);
    return 0;
}
