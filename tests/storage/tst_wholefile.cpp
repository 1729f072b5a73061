#include "storage/StorageError.h"
#include "storage/WholeFile.h"
#include "support/Deadline.h"
#include "support/FullDisk.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace std::chrono_literals;

class TestWholeFile : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void streamingWriters();
    void copy();
    void fullDisk_data();
    void fullDisk();
    void failures_data();
    void failures();

  private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    static QByteArray read(const QString &p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

QImage picture() {
    QImage image(37, 21, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter(&image).fillRect(3, 4, 10, 9, Qt::yellow);
    return image;
}

QByteArray encoded(const QImage &image, const char *format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

// The ways a caller hands bytes to the writer.
void writeBy(const QString &how, const QString &target, const QByteArray &bytes,
             const QString &source) {
    if (how == u"bytes") {
        writeWholeFile(target, bytes);
    } else if (how == u"device") {
        writeWholeFile(target, [&](QIODevice &device) { return picture().save(&device, "BMP"); });
    } else {
        copyWholeFile(source, target);
    }
}

} // namespace

void TestWholeFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

// Pictures and PDF files written through device() are the bytes their writers
// produce on their own, all of them on disk.
void TestWholeFile::streamingWriters() {
    const QImage image = picture();
    for (const char *format : {"BMP", "JPG", "PNG"}) {
        const QString target = path(QStringLiteral("foto.") + QString::fromLatin1(format));
        WholeFile file(target);
        QVERIFY(image.save(file.device(), format));
        QVERIFY(!QFileInfo::exists(target)); // nothing in place before commit()
        file.commit();
        QCOMPARE(read(target), encoded(image, format));
    }

    const QString pdf = path(QStringLiteral("Cliente.pdf"));
    {
        WholeFile file(pdf);
        QPdfWriter writer(file.device());
        QPainter painter(&writer);
        painter.drawText(100, 100, QStringLiteral("Scheda cliente"));
        QVERIFY(painter.end());
        file.commit();
    }
    const QByteArray bytes = read(pdf);
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.trimmed().endsWith("%%EOF"));
}

void TestWholeFile::copy() {
    QByteArray content;
    for (int i = 0; i < 50000; ++i) // several read chunks
        content += char(i * 7);
    const QString source = path(QStringLiteral("allegato.bin"));
    writeWholeFile(source, content);
    QCOMPARE(read(source), content);

    const QString target = path(QStringLiteral("copia.bin"));
    writeWholeFile(target, "vecchio");
    copyWholeFile(source, target);
    QCOMPARE(read(target), content);
}

// On a really full disk every way of writing fails, and the good file that was
// there stays byte for byte, with no temporary file left beside it.
void TestWholeFile::fullDisk_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("bytes") << "bytes";
    QTest::newRow("device") << "device";
    QTest::newRow("copy") << "copy";
}

void TestWholeFile::fullDisk() {
    QFETCH(QString, how);
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    const QString target = disk.filePath(QStringLiteral("Logo.bmp"));
    const QByteArray old(5000, 'v');
    writeWholeFile(target, old);
    const QString source = path(QStringLiteral("sorgente.bin"));
    writeWholeFile(source, QByteArray(6000, 's'));
    QVERIFY(disk.fill());

    try {
        writeBy(how, target, QByteArray(6000, 'n'), source);
        QFAIL("no error raised");
    } catch (const StorageError &e) {
        QCOMPARE(e.message(), QStringLiteral("impossibile scrivere %1").arg(target));
    }
    QCOMPARE(read(target), old);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("Logo.bmp"), QString::fromLatin1(FullDisk::kFiller)}));
}

void TestWholeFile::failures_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("message");
    QTest::newRow("parent is a file") << "parent"
                                      << "impossibile scrivere @/Logo.bmp/x.bmp";
    QTest::newRow("target is a folder") << "folder"
                                        << "impossibile scrivere @/cartella";
    QTest::newRow("target is a FIFO") << "fifo target"
                                      << "impossibile scrivere @/coda";
    QTest::newRow("target is a link loop") << "loop target"
                                           << "impossibile scrivere @/giro";
    QTest::newRow("producer fails") << "producer"
                                    << "impossibile scrivere @/Logo.bmp";
    QTest::newRow("unknown picture format") << "format"
                                            << "impossibile scrivere @/Logo.bmp";
    QTest::newRow("copy of a missing file") << "missing source"
                                            << "impossibile leggere @/manca";
    QTest::newRow("copy of a folder") << "folder source"
                                      << "impossibile leggere @/cartella";
    QTest::newRow("copy of a FIFO") << "fifo source"
                                    << "impossibile leggere @/coda";
}

void TestWholeFile::failures() {
    QFETCH(QString, what);
    QFETCH(QString, message);
    const QString logo = path(QStringLiteral("Logo.bmp"));
    writeWholeFile(logo, "vecchio");
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("cartella")));
    const QString fifo = path(QStringLiteral("coda"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(QFile::link(QStringLiteral("giro"), path(QStringLiteral("giro"))));

    const QString dir = m_dir->path();
    const std::optional<QString> outcome = endsWithin(
        1s,
        [what, dir, logo, fifo]() -> QString {
            try {
                if (what == u"parent")
                    writeWholeFile(logo + QStringLiteral("/x.bmp"), "x");
                else if (what == u"folder")
                    writeWholeFile(dir + QStringLiteral("/cartella"), "x");
                else if (what == u"fifo target")
                    writeWholeFile(fifo, "x");
                else if (what == u"loop target")
                    writeWholeFile(dir + QStringLiteral("/giro"), "x");
                else if (what == u"producer")
                    writeWholeFile(logo, [](QIODevice &device) {
                        device.write("mezzo file");
                        return false;
                    });
                else if (what == u"format") {
                    WholeFile file(logo);
                    if (!picture().save(file.device(), "NESSUNO"))
                        file.fail();
                    file.commit();
                } else {
                    const QString name = what == u"missing source"  ? QStringLiteral("manca")
                                         : what == u"folder source" ? QStringLiteral("cartella")
                                                                    : QStringLiteral("coda");
                    copyWholeFile(dir + u'/' + name, logo);
                }
            } catch (const StorageError &e) {
                return e.message();
            }
            return QStringLiteral("no error raised");
        },
        [fifo] { wakeFifo(fifo); });
    QVERIFY2(outcome, "the write blocked");
    QCOMPARE(*outcome, QString(message).replace(u'@', m_dir->path()));
    QCOMPARE(read(logo), QByteArray("vecchio"));
    QVERIFY(QFileInfo(path(QStringLiteral("cartella"))).isDir());
    struct stat st;
    QVERIFY(::stat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    QCOMPARE(QFileInfo(path(QStringLiteral("giro"))).symLinkTarget(), path(QStringLiteral("giro")));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(),
             3); // Logo.bmp, the FIFO and the loop: no temporary file left
}

QTEST_MAIN(TestWholeFile)
#include "tst_wholefile.moc"
