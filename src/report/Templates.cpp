#include "Templates.h"

#include <QPainter>
#include <QPainterPath>

namespace report {

namespace {

const QColor kTeal(0x00, 0x80, 0x80);
const QColor kDarkOrange(0xFF, 0x8C, 0x00);
const QColor kSlateGrey(0x70, 0x80, 0x90);

Object memo(const QString &name, QRectF box, Font font, const QString &text) {
    Object object;
    object.name = name;
    object.kind = Object::Kind::Memo;
    object.box = box;
    object.font = std::move(font);
    object.setText(text);
    return object;
}

// White text on a coloured box.
Object banner(const QString &name, QRectF box, Font font, const QColor &fill,
              Qt::Alignment alignment, const QString &text) {
    Object object = memo(name, box, std::move(font), text);
    object.textColour = Qt::white;
    object.fill = fill;
    object.alignment = alignment;
    return object;
}

Object graphic(const QString &name, Object::Kind kind, QRectF box) {
    Object object;
    object.name = name;
    object.kind = kind;
    object.box = box;
    return object;
}

// A title box and its value box.
void addPair(QList<Object> &objects, int n, QRectF titleBox, double titlePoints, QRectF valueBox) {
    const QString text = QStringLiteral("Campo %1").arg(n);
    objects << banner(pairName("titCampo", n), titleBox, {QStringLiteral("Arial"), titlePoints},
                      kTeal, Qt::AlignLeft | Qt::AlignVCenter, text)
            << memo(pairName("txtCampo", n), valueBox, {QStringLiteral("Arial"), 10}, text);
}

// A row of the card: the title on the left and its value on the right.
void addRow(QList<Object> &objects, int n, double top) {
    addPair(objects, n, QRectF(3, top, 52, 6), 9, QRectF(60, top, 128, 6));
}

// What both card templates share: emblem, title, rules and footer.
Template cardFrame(const QString &emblemName) {
    Template card(QStringLiteral("Scheda informativa"), QPageLayout::Portrait);
    QList<Object> &objects = card.pageObjects();
    Object picture = graphic(emblemName, Object::Kind::Picture, QRectF(3, 3, 17, 13));
    picture.picture = emblem();
    objects << picture
            << banner(QStringLiteral("txtTitolo"), QRectF(23, 3, 165, 9),
                      {QStringLiteral("Arial"), 16}, kDarkOrange, Qt::AlignCenter,
                      QStringLiteral("Titolo Scheda"))
            << graphic(QStringLiteral("linSepara01"), Object::Kind::Line, QRectF(23, 16, 165, 0))
            << graphic(QStringLiteral("linSepara02"), Object::Kind::Line, QRectF(3, 265, 185, 0))
            << banner(QStringLiteral("txtCalce"), QRectF(3, 269, 185, 6),
                      {QStringLiteral("Arial"), 10}, kDarkOrange, Qt::AlignCenter,
                      QStringLiteral("Termine scheda"));
    return card;
}

} // namespace

QString pairName(const char *prefix, int n) {
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

Template summaryTemplate() {
    Template summary(QStringLiteral("Riepilogo dati"), QPageLayout::Landscape);
    const Font heading{QStringLiteral("Verdana"), 9, true};
    Band title{QStringLiteral("ReportTitle"), Band::Kind::Title, 8.0, {}};
    title.objects << banner(QStringLiteral("txtTitolo"), QRectF(2, 1, 273, 5), heading, kSlateGrey,
                            Qt::AlignCenter, QStringLiteral("Riepilogo"));

    Band data{QStringLiteral("MasterData"), Band::Kind::MasterData, 28.0, {}};
    Object body = memo(QStringLiteral("txtRiepilogo"), QRectF(3, 0, 273, 27),
                       {QStringLiteral("Courier New"), 8}, QString());
    body.lines.clear();
    body.alignment = Qt::AlignLeft | Qt::AlignTop;
    body.linePitch = fromUnits(kSummaryLinePitch);
    data.objects << body;

    Band footer{QStringLiteral("Footer"), Band::Kind::Footer, 8.0, {}};
    Object page = banner(QStringLiteral("txtPagina"), QRectF(3, 2, 272, 5),
                         {QStringLiteral("Verdana"), 8, true}, kSlateGrey, Qt::AlignCenter,
                         QStringLiteral("Stampa eseguita in data [DATE]"));
    page.dateExpression = true;
    footer.objects << page;

    summary.bands() << title << data << footer;
    return summary;
}

Template cardTemplate(const QString &emblemName) {
    Template card = cardFrame(emblemName);
    for (int n = 1; n <= 24; ++n)
        addRow(card.pageObjects(), n, 24.0 + 10.0 * (n - 1));
    return card;
}

Template cardWithPhotoTemplate() {
    Template card = cardFrame(QStringLiteral("frxPictureView1"));
    QList<Object> &objects = card.pageObjects();
    objects << graphic(QStringLiteral("Shape1"), Object::Kind::Shape, QRectF(3, 20, 61, 81))
            << graphic(QStringLiteral("imgFoto"), Object::Kind::Picture, QRectF(4, 21, 59, 79));
    for (int n = 1; n <= 6; ++n)
        addPair(objects, n, QRectF(69, 20.0 + 13.0 * (n - 1), 119, 4.2), 8,
                QRectF(69, 24.8 + 13.0 * (n - 1), 119, 5.5));
    for (int n = 7; n <= 22; ++n)
        addRow(objects, n, 105.0 + 10.0 * (n - 7));
    return card;
}

QImage emblem() {
    QImage image(82, 68, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor edge(0xB0, 0x7A, 0x10);
    painter.setPen(QPen(edge, 2));
    // The back of the folder with its tab, then the front, a shade lighter.
    QPainterPath back;
    back.moveTo(4, 14);
    back.lineTo(4, 62);
    back.lineTo(76, 62);
    back.lineTo(76, 16);
    back.lineTo(36, 16);
    back.lineTo(30, 8);
    back.lineTo(8, 8);
    back.closeSubpath();
    painter.setBrush(QColor(0xF2, 0xB8, 0x2E));
    painter.drawPath(back);
    QPainterPath front;
    front.moveTo(4, 62);
    front.lineTo(12, 26);
    front.lineTo(80, 26);
    front.lineTo(76, 62);
    front.closeSubpath();
    painter.setBrush(QColor(0xFF, 0xD5, 0x4F));
    painter.drawPath(front);
    painter.end();
    return image;
}

} // namespace report
