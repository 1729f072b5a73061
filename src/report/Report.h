// The report engine: templates of named objects laid out on A4 pages.
//
// A window takes one of its templates (Templates.h), finds objects by name and
// fills them (texts, lines, heights, a picture), sets the page orientation,
// prepares the report into pages and hands the prepared pages to exactly one
// output: the preview, the printer or a PDF file. Every output draws the
// pages through the one function renderPage(), so what the preview shows is
// what the printer and the PDF get.
//
// Positions and sizes are millimetres; objects on a page are measured from
// the top-left corner of the printable area (inside the margins), objects in
// a band from the band's top-left corner. Heights set at run time may also be
// given in the engine's unit of 1/96 inch (units()).
#pragma once

#include "storage/MessageError.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QStringList>
#include <functional>

class QPainter;

namespace report {

// Raised by the engine and its outputs; the text is the one the user is shown.
class ReportError : public MessageError {
  public:
    using MessageError::MessageError;
};

// Millimetres from the engine's unit of 1/96 inch, and back.
constexpr double fromUnits(double units) { return units * 25.4 / 96.0; }
constexpr double toUnits(double mm) { return mm * 96.0 / 25.4; }

// The clock of printed dates and times; tests may set their own.
QDateTime now();
void setClock(std::function<QDateTime()> clock); // an empty function restores the system clock
// "Stampa eseguita in data dd/mm/yyyy alle ore hh:mm:ss" for the moment `at`.
QString printedAt(const QDateTime &at);

struct Font {
    QString family; // as the template names it: "Arial", "Courier New", "Verdana"
    double points = 10;
    bool bold = false;
};

class Object {
  public:
    enum class Kind { Memo, Picture, Line, Shape };

    QString name;
    Kind kind = Kind::Memo;
    QRectF box; // millimetres

    // Memos: text, look and alignment. A memo prints each of its lines on one
    // line of its own and never wraps; what does not fit is cut at the box.
    QStringList lines;
    Font font;
    QColor textColour = Qt::black;
    QColor fill; // invalid: no fill
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    double linePitch = 0; // millimetres between lines; 0: the font's own
    // The memo replaces "[DATE]" in its text with the date of preparing.
    // Every other text, square brackets included, prints as typed.
    bool dateExpression = false;

    // Pictures: scaled to fit the box, proportions kept, anchored top-left.
    QImage picture;

    // Memo operations.
    void setText(const QString &text); // its lines, split at line breaks
    QString text() const { return lines.join(QLatin1Char('\n')); }
    void clearLines() { lines.clear(); }
    void addLine(const QString &line) { lines.append(line); }
    qsizetype lineCount() const { return lines.size(); }
    void setHeight(double mm) { box.setHeight(mm); }
    // Picture operation: a copy of `image` becomes the picture.
    void setPicture(const QImage &image) { picture = image.copy(); }
};

struct Band {
    enum class Kind { Title, MasterData, Footer };

    QString name;
    Kind kind = Kind::MasterData;
    double height = 0; // millimetres
    QList<Object> objects;

    void setHeight(double mm) { height = mm; }
};

// One object placed on a prepared page. `box` is in millimetres from the
// top-left corner of the printable area; a memo split across pages shows its
// lines [firstLine, firstLine + lineCount).
struct Placed {
    Object object;
    QRectF box;
    qsizetype firstLine = 0;
    qsizetype lineCount = 0;
};

struct Page {
    QList<Placed> items;
};

struct PreparedReport {
    QString name;
    QPageLayout layout;
    QList<Page> pages;
};

class Template {
  public:
    Template(const QString &name, QPageLayout::Orientation orientation);

    const QString &name() const { return m_name; }
    QPageLayout &pageLayout() { return m_layout; }
    const QPageLayout &pageLayout() const { return m_layout; }
    void setPortrait() { m_layout.setOrientation(QPageLayout::Portrait); }

    // Objects placed straight on the page, and the bands that follow one
    // another from the top of the first page.
    QList<Object> &pageObjects() { return m_objects; }
    QList<Band> &bands() { return m_bands; }

    // Finding by name; a name the template does not hold raises ReportError.
    Object &memo(const QString &name);
    Object &picture(const QString &name);
    Band &band(const QString &name);
    // The object of that name wherever it stands, or nullptr.
    const Object *find(const QString &name) const;

    // Lays the template out into pages. A master-data band longer than the
    // rest of a page continues on the next pages, split between memo lines,
    // and the bands after it follow its last line.
    PreparedReport prepare() const;

  private:
    Object *findObject(const QString &name, Object::Kind kind);

    QString m_name;
    QPageLayout m_layout;
    QList<Object> m_objects;
    QList<Band> m_bands;
};

// Draws page `index` of `report` with `painter`, whose origin is the top-left
// corner of the printable area of a device of known resolution (a printer, a
// PDF writer, a picture of the page).
void renderPage(QPainter &painter, const PreparedReport &report, qsizetype index);

// The font a template names, by its metric twin where there is one, so that
// columns line up on every machine.
QFont printFont(const Font &font);

} // namespace report
