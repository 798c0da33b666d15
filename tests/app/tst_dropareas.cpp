#include "convertimageframe.h"
#include "convertimagetreeview.h"
#include "mergepdflistview.h"
#include "pdfmanagerframe.h"
#include "pdfmanagerlistview.h"
#include "splitpdfframe.h"
#include "splitpdflistview.h"
#include "testenvironment.h"

#include <QAbstractScrollArea>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// Every drop frame and file list of every tool, given what it takes from
// outside: the PDF tools a folder or a PDF, the images tool a folder or an
// image. The first URL decides; a drop hands on every URL.
class TestDropAreas : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void dragFromOutside_data();
    void dragFromOutside();

private:
    QTemporaryDir dir;
};

namespace {

enum class Takes { Pdfs, Images };

struct Area {
    const char *name;
    Takes takes;
    std::function<QWidget *()> make;
};

const QList<Area> &areas()
{
    static const QList<Area> all{
        {"PdfManagerFrame", Takes::Pdfs, [] { return new PdfManagerFrame; }},
        {"PdfManagerListview", Takes::Pdfs, [] { return new PdfManagerListview; }},
        {"SplitPDFFrame", Takes::Pdfs, [] { return new SplitPDFFrame; }},
        {"SplitPDFListView", Takes::Pdfs, [] { return new SplitPDFListView; }},
        {"MergePDFListView", Takes::Pdfs, [] { return new MergePDFListView; }},
        {"ConvertImageFrame", Takes::Images, [] { return new ConvertImageFrame; }},
        {"ConvertImageTreeView", Takes::Images, [] { return new ConvertImageTreeView; }},
    };
    return all;
}

QWidget *dropTarget(QWidget *widget)
{
    auto *scrollArea = qobject_cast<QAbstractScrollArea *>(widget);
    return scrollArea ? scrollArea->viewport() : widget;
}

} // namespace

void TestDropAreas::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(dir.isValid());
    for (const char *name : {"a.pdf", "B.PDF", "c.Pdf", "d.pdf.txt", "e.tar.pdf", "p.png", "Q.JPG", "r.webp", "s.tiff",
                             "notes.txt", "pdf", "png"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.pdf.d")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("images")));
}

void TestDropAreas::dragFromOutside_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("taken");

    struct Case {
        const char *name;
        QStringList items; // file names in the folder; "url:" for a URL as it stands
        bool pdfs;
        bool images;
    };
    const QList<Case> cases{
        {"pdf", {"a.pdf"}, true, false},
        {"PDF in capitals", {"B.PDF"}, true, false},
        {"Pdf mixed case", {"c.Pdf"}, true, false},
        {"pdf before the last suffix", {"d.pdf.txt"}, false, false},
        {"pdf as the last of two suffixes", {"e.tar.pdf"}, true, false},
        {"a name without suffix", {"pdf"}, false, false},
        {"a pdf that does not exist", {"missing.pdf"}, false, false},
        {"png", {"p.png"}, false, true},
        {"JPG in capitals", {"Q.JPG"}, false, true},
        {"webp", {"r.webp"}, false, true},
        {"tiff", {"s.tiff"}, false, true},
        {"an image that does not exist", {"missing.png"}, false, false},
        {"text", {"notes.txt"}, false, false},
        {"folder", {"images"}, true, true},
        {"folder named like a pdf", {"folder.pdf.d"}, true, true},
        {"remote pdf", {"url:https://example.com/a.pdf"}, false, false},
        {"remote image", {"url:https://example.com/p.png"}, false, false},
        {"no URLs", {}, false, false},
        {"pdf first, then others", {"a.pdf", "notes.txt", "p.png"}, true, false},
        {"text first, then a pdf", {"notes.txt", "a.pdf"}, false, false},
        {"image first, then a pdf", {"p.png", "a.pdf"}, false, true},
        {"remote first, then local", {"url:https://example.com/a.pdf", "a.pdf", "p.png"}, false, false},
    };
    for (int area = 0; area < areas().size(); ++area) {
        const Area &target = areas().at(area);
        for (const Case &row : cases) {
            QList<QUrl> urls;
            for (const QString &item : row.items) {
                urls << (item.startsWith(QLatin1String("url:")) ? QUrl(item.mid(4))
                                                                  : QUrl::fromLocalFile(dir.filePath(item)));
            }
            const bool taken = target.takes == Takes::Pdfs ? row.pdfs : row.images;
            QTest::addRow("%s, %s", target.name, row.name) << area << urls << taken;
        }
    }
}

void TestDropAreas::dragFromOutside()
{
    QFETCH(int, area);
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, taken);
    const std::unique_ptr<QWidget> widget(areas().at(area).make());
    QWidget *target = dropTarget(widget.get());
    QVERIFY(widget->acceptDrops());
    QVERIFY(target->acceptDrops());
    QSignalSpy added(widget.get(), SIGNAL(addURLs(QList<QUrl>)));

    QMimeData mime;
    mime.setUrls(urls);
    const QPoint point(5, 5);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(point, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QCOMPARE(enter.isAccepted(), taken);
    if (!taken)
        return;
    // Linked: a drop never moves the user's files away from where they are.
    QCOMPARE(enter.dropAction(), Qt::LinkAction);
    QDragMoveEvent move(point, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QVERIFY(move.isAccepted());
    QDropEvent drop(point, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(drop.dropAction(), Qt::LinkAction);
    QCOMPARE(added.count(), 1);
    QCOMPARE(added.first().first().value<QList<QUrl>>(), urls);
}

QTEST_MAIN(TestDropAreas)
#include "tst_dropareas.moc"
