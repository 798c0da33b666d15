#include "benchcorpus.h"

#include <QFile>
#include <QLinearGradient>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRandomGenerator>

#include <cmath>
#include <functional>

namespace {

const QSizeF a4(595, 842);

// Smooth colour fields with fine noise: compresses like a photograph.
QImage photo(QSize size, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(size, QImage::Format_RGB32);
    const double fx = 0.01 + random.bounded(0.02), fy = 0.01 + random.bounded(0.02);
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(random.bounded(24));
            const int r = int(127 + 100 * std::sin(x * fx) * std::cos(y * fy)) + noise;
            const int g = int(127 + 100 * std::sin((x + y) * fx * 0.7)) + noise;
            const int b = int(127 + 100 * std::cos(y * fy * 1.3)) + noise;
            row[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image;
}

void drawText(QPainter &painter, int pageNumber, QRectF area)
{
    static const QString words =
        QStringLiteral("Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor "
                       "incididunt ut labore et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud "
                       "exercitation ullamco laboris nisi ut aliquip ex ea commodo consequat. ");
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::TextWordWrap, QStringLiteral("Page %1. ").arg(pageNumber) + words.repeated(12));
}

void drawVectors(QPainter &painter, int pageNumber, QRectF area)
{
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0, QColor::fromHsv(pageNumber * 37 % 360, 160, 230));
    gradient.setColorAt(1, QColor::fromHsv(pageNumber * 53 % 360, 200, 140));
    painter.fillRect(area, gradient);
    QPainterPath path;
    path.moveTo(area.bottomLeft());
    for (int i = 0; i < 12; ++i)
        path.cubicTo(area.left() + i * area.width() / 12, area.top(), area.left() + (i + 0.5) * area.width() / 12,
                     area.bottom(), area.left() + (i + 1) * area.width() / 12, area.center().y());
    painter.setPen(QPen(Qt::darkBlue, 1.5));
    painter.drawPath(path);
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawEllipse(area.center(), area.width() / 5, area.height() / 3);
}

bool writeDocument(const QString &path, int pageCount, const std::function<void(QPainter &, int)> &drawPage)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(a4, QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0)
            writer.newPage();
        drawPage(painter, page + 1);
    }
    return painter.end();
}

void drawMixedPage(QPainter &painter, int pageNumber, const QImage &picture)
{
    drawText(painter, pageNumber, QRectF(50, 50, 495, 330));
    drawVectors(painter, pageNumber, QRectF(50, 400, 495, 150));
    painter.drawImage(QRectF(50, 570, 495, 230), picture);
}

void drawLongDocumentPage(QPainter &painter, int pageNumber)
{
    drawText(painter, pageNumber, QRectF(60, 60, 475, 640));
    painter.setPen(QPen(Qt::gray, 0.8));
    painter.drawLine(QPointF(60, 720), QPointF(535, 720));
    painter.fillRect(QRectF(60, 740, 80 + pageNumber % 300, 20), QColor(40, 90, 160));
}

// A few lines of text and one of a few small pictures, as in a scanned
// archive with an index picture per page.
void drawScalePage(QPainter &painter, int pageNumber, const QList<QImage> &pictures)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(28);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(60, 60, 475, 40), QStringLiteral("Record %1").arg(pageNumber));
    drawText(painter, pageNumber, QRectF(60, 120, 475, 380));
    painter.drawImage(QRectF(60, 540, 240, 180), pictures.at(pageNumber % pictures.size()));
}

} // namespace

namespace BenchCorpus {

bool write(const QString &folder)
{
    const QImage picture = photo(QSize(1000, 465), 7);
    const auto mixed = [&](QPainter &painter, int n) { drawMixedPage(painter, n, picture); };
    const auto photoPage = [](QPainter &painter, int n) {
        painter.drawImage(QRectF(QPointF(0, 0), a4), photo(QSize(1240, 1754), quint32(n)));
    };
    return writeDocument(folder + QStringLiteral("/mixed100.pdf"), 100, mixed) &&
           writeDocument(folder + QStringLiteral("/mixed10.pdf"), 10, mixed) &&
           writeDocument(folder + QStringLiteral("/pages1000.pdf"), 1000, drawLongDocumentPage) &&
           writeDocument(folder + QStringLiteral("/images20.pdf"), 20, photoPage);
}

bool writeScaleDocument(const QString &path, int pageCount)
{
    QList<QImage> pictures;
    for (quint32 seed = 0; seed < 16; ++seed)
        pictures.append(photo(QSize(160, 120), 300 + seed));
    return writeDocument(path, pageCount,
                         [&](QPainter &painter, int n) { drawScalePage(painter, n, pictures); });
}

bool writeDocumentCorpus(const QString &folder)
{
    const auto text = [](QPainter &painter, int n) { drawLongDocumentPage(painter, n); };
    QList<QImage> photos;
    for (quint32 seed = 0; seed < 10; ++seed)
        photos.append(photo(QSize(800, 600), 100 + seed));
    const auto sharedPhotos = [&](QPainter &painter, int n) {
        drawText(painter, n, QRectF(50, 50, 495, 200));
        // The same QImage is written once and referenced from every page showing it.
        painter.drawImage(QRectF(50, 300, 495, 371), photos.at((n - 1) % photos.size()));
    };
    const auto photoPage = [](QPainter &painter, int n) {
        painter.drawImage(QRectF(QPointF(0, 0), a4), photo(QSize(1240, 1754), quint32(1000 + n)));
    };
    return writeDocument(folder + QStringLiteral("/pages2000.pdf"), 2000, text) &&
           QFile::copy(folder + QStringLiteral("/pages2000.pdf"), folder + QStringLiteral("/pages2000-copy.pdf")) &&
           writeDocument(folder + QStringLiteral("/two.pdf"), 2, text) &&
           writeDocument(folder + QStringLiteral("/pages250.pdf"), 250, text) &&
           writeDocument(folder + QStringLiteral("/one.pdf"), 1, text) &&
           writeDocument(folder + QStringLiteral("/images30.pdf"), 30, sharedPhotos) &&
           writeDocument(folder + QStringLiteral("/photos54.pdf"), 54, photoPage);
}

} // namespace BenchCorpus
