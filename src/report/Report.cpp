#include "Report.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace report {

namespace {

std::function<QDateTime()> &clockFunction() {
    static std::function<QDateTime()> clock;
    return clock;
}

// The room between a memo's edge and its text, left and right: 2 units.
constexpr double kMemoGap = fromUnits(2);
constexpr double kEpsilon = 1e-6;

// A copy of `object` as it prints: the date put into a date expression.
Object evaluated(const Object &object, const QDate &today) {
    if (!object.dateExpression)
        return object;
    Object copy = object;
    const QString date = QLocale::c().toString(today, QStringLiteral("dd/MM/yyyy"));
    for (QString &line : copy.lines)
        line.replace(QStringLiteral("[DATE]"), date);
    return copy;
}

Placed whole(const Object &object, QPointF offset) {
    return {object, object.box.translated(offset), 0, object.lines.size()};
}

// The memo of a band whose lines may go on over several pages.
const Object *splittingMemo(const Band &band) {
    for (const Object &object : band.objects)
        if (object.kind == Object::Kind::Memo && object.linePitch > 0)
            return &object;
    return nullptr;
}

} // namespace

QDateTime now() {
    const auto &clock = clockFunction();
    return clock ? clock() : QDateTime::currentDateTime();
}

void setClock(std::function<QDateTime()> clock) {
    clockFunction() = std::move(clock);
}

QString printedAt(const QDateTime &at) {
    const QLocale c = QLocale::c();
    return QStringLiteral("Stampa eseguita in data ") +
           c.toString(at.date(), QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" alle ore ") +
           c.toString(at.time(), QStringLiteral("HH:mm:ss"));
}

void Object::setText(const QString &text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines = plain.split(QLatin1Char('\n'));
}

Template::Template(const QString &name, QPageLayout::Orientation orientation)
    : m_name(name), m_layout(QPageSize(QPageSize::A4), orientation, QMarginsF(10, 10, 10, 10),
                             QPageLayout::Millimeter) {}

Object *Template::findObject(const QString &name, Object::Kind kind) {
    for (Object &object : m_objects)
        if (object.name == name && object.kind == kind)
            return &object;
    for (Band &band : m_bands)
        for (Object &object : band.objects)
            if (object.name == name && object.kind == kind)
                return &object;
    throw ReportError(QStringLiteral("Il modello di stampa \"%1\" non contiene l'oggetto \"%2\".")
                          .arg(m_name, name));
}

Object &Template::memo(const QString &name) {
    return *findObject(name, Object::Kind::Memo);
}

Object &Template::picture(const QString &name) {
    return *findObject(name, Object::Kind::Picture);
}

Band &Template::band(const QString &name) {
    for (Band &band : m_bands)
        if (band.name == name)
            return band;
    throw ReportError(QStringLiteral("Il modello di stampa \"%1\" non contiene la banda \"%2\".")
                          .arg(m_name, name));
}

const Object *Template::find(const QString &name) const {
    for (const Object &object : m_objects)
        if (object.name == name)
            return &object;
    for (const Band &band : m_bands)
        for (const Object &object : band.objects)
            if (object.name == name)
                return &object;
    return nullptr;
}

PreparedReport Template::prepare() const {
    PreparedReport report{m_name, m_layout, {Page{}}};
    const QDate today = now().date();
    const double pageHeight = m_layout.paintRect(QPageLayout::Millimeter).height();
    auto newPage = [&] { report.pages.append(Page{}); };
    auto place = [&](Placed placed) { report.pages.last().items.append(std::move(placed)); };

    for (const Object &object : m_objects)
        place(whole(evaluated(object, today), {}));

    double y = 0; // where the next band starts on the current page
    for (const Band &band : m_bands) {
        const Object *memo = splittingMemo(band);
        const qsizetype total = memo ? memo->lines.size() : 0;
        const double tail = memo ? band.height - memo->box.bottom() : 0; // below the memo
        const bool fits = y + band.height <= pageHeight + kEpsilon;
        if (!memo || total == 0 || fits) {
            if (!fits && y > 0) {
                newPage();
                y = 0;
            }
            for (const Object &object : band.objects)
                place(whole(evaluated(object, today), {0, y}));
            y += band.height;
            continue;
        }

        // The band goes on over as many pages as its memo's lines need; the
        // band's other objects print with its first part.
        const double pitch = memo->linePitch;
        for (const Object &object : band.objects)
            if (&object != memo)
                place(whole(evaluated(object, today), {0, y}));
        qsizetype next = 0;
        while (true) {
            const double room = pageHeight - y - memo->box.top();
            qsizetype fit = qsizetype(std::floor(room / pitch + kEpsilon));
            if (fit <= 0 && y == 0)
                fit = 1; // a line taller than a page still moves on
            fit = std::max<qsizetype>(fit, 0);
            const qsizetype count = std::min(fit, total - next);
            if (count > 0) {
                Placed part{evaluated(*memo, today), {}, next, count};
                part.box = QRectF(memo->box.left(), y + memo->box.top(), memo->box.width(),
                                  double(count) * pitch);
                place(std::move(part));
                next += count;
            }
            if (next == total) {
                y += memo->box.top() + double(count) * pitch + tail;
                break;
            }
            newPage();
            y = 0;
        }
    }
    return report;
}

QFont printFont(const Font &font) {
    QString family = font.family;
    if (family == QLatin1String("Arial"))
        family = QStringLiteral("Liberation Sans");
    else if (family == QLatin1String("Courier New"))
        family = QStringLiteral("Liberation Mono");
    else if (family == QLatin1String("Verdana"))
        family = QStringLiteral("DejaVu Sans");
    QFont result(family);
    result.setPointSizeF(font.points);
    result.setBold(font.bold);
    result.setKerning(false);
    result.setStyleHint(font.family == QLatin1String("Courier New") ? QFont::TypeWriter
                                                                    : QFont::SansSerif);
    return result;
}

namespace {

void drawMemo(QPainter &painter, const Placed &placed, const QRectF &box, double pxPerMm) {
    const Object &memo = placed.object;
    if (memo.fill.isValid())
        painter.fillRect(box, memo.fill);
    if (placed.lineCount == 0)
        return;
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setFont(printFont(memo.font));
    painter.setPen(memo.textColour);
    const double gap = kMemoGap * pxPerMm;
    const QRectF inner = box.adjusted(gap, 0, -gap, 0);
    const int flags = int(memo.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter |
                      Qt::TextSingleLine;
    const double pitch =
        memo.linePitch > 0 ? memo.linePitch * pxPerMm : QFontMetricsF(painter.font()).lineSpacing();
    double top = inner.top();
    if (memo.linePitch <= 0) {
        const double block = pitch * double(placed.lineCount);
        if (memo.alignment & Qt::AlignVCenter)
            top += (inner.height() - block) / 2;
        else if (memo.alignment & Qt::AlignBottom)
            top += inner.height() - block;
    }
    for (qsizetype i = 0; i < placed.lineCount; ++i) {
        const QRectF slot(inner.left(), top + double(i) * pitch, inner.width(), pitch);
        if (slot.top() > box.bottom())
            break;
        painter.drawText(slot, flags, memo.lines.at(placed.firstLine + i));
    }
    painter.restore();
}

void drawPicture(QPainter &painter, const QImage &image, const QRectF &box) {
    if (image.isNull())
        return;
    const QSizeF size = QSizeF(image.size()).scaled(box.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRectF(box.topLeft(), size), image);
}

} // namespace

void renderPage(QPainter &painter, const PreparedReport &report, qsizetype index) {
    const double pxPerMm = painter.device()->logicalDpiX() / 25.4;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QPen thin(Qt::black);
    thin.setWidthF(fromUnits(1) * pxPerMm);
    for (const Placed &placed : report.pages.at(index).items) {
        const QRectF box(placed.box.left() * pxPerMm, placed.box.top() * pxPerMm,
                         placed.box.width() * pxPerMm, placed.box.height() * pxPerMm);
        switch (placed.object.kind) {
        case Object::Kind::Memo:
            drawMemo(painter, placed, box, pxPerMm);
            break;
        case Object::Kind::Picture:
            drawPicture(painter, placed.object.picture, box);
            break;
        case Object::Kind::Line:
            painter.setPen(thin);
            painter.drawLine(box.topLeft(), box.topRight());
            break;
        case Object::Kind::Shape:
            painter.setPen(thin);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box);
            break;
        }
    }
    painter.restore();
}

} // namespace report
