#include "pdftestfiles.h"
#include "testenvironment.h"
#include "testpdf.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

namespace PdfTestFiles {

namespace {

using Handle = QPDFObjectHandle;

Handle fitDestination(Handle page)
{
    return Handle::newArray({page, Handle::newName("/Fit")});
}

Handle linkAnnotation(QPDF &pdf, const char *key, Handle target)
{
    Handle link = Handle::parse("<< /Type /Annot /Subtype /Link /Rect [0 0 100 100] /Border [0 0 0] >>");
    link.replaceKey(key, target);
    return pdf.makeIndirectObject(link);
}

Handle outlineItem(QPDF &pdf, Handle parent, const char *title, Handle destination)
{
    Handle item = pdf.makeIndirectObject(Handle::newDictionary());
    item.replaceKey("/Title", Handle::newUnicodeString(title));
    item.replaceKey("/Parent", parent);
    item.replaceKey("/Dest", destination);
    return item;
}

void chain(Handle parent, std::vector<Handle> items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            items[i].replaceKey("/Prev", items[i - 1]);
        if (i + 1 < items.size())
            items[i].replaceKey("/Next", items[i + 1]);
    }
    parent.replaceKey("/First", items.front());
    parent.replaceKey("/Last", items.back());
    parent.replaceKey("/Count", Handle::newInteger(int(items.size())));
}

void rewrite(const QString &path, const std::function<void(QPDF &)> &change)
{
    const QByteArray name = QFile::encodeName(path);
    QPDF pdf;
    pdf.processFile(name.constData());
    change(pdf);
    const QByteArray temporary = name + ".tmp";
    QPDFWriter writer(pdf, temporary.constData());
    writer.write();
    QFile::remove(path);
    QFile::rename(QString::fromLocal8Bit(temporary), path);
}

} // namespace

bool writeNumbered(const QString &path, int pageCount)
{
    return TestPdf::writeA4(path, pageCount);
}

bool writeRepairable(const QString &path, int pageCount)
{
    if (!writeNumbered(path, pageCount))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray pdf = file.readAll();
    const qsizetype at = pdf.lastIndexOf("startxref");
    const qsizetype end = pdf.indexOf("%%EOF", at);
    if (at < 0 || end < 0)
        return false;
    const qlonglong offset = pdf.mid(at + 9, end - at - 9).trimmed().toLongLong();
    pdf.replace(at, end - at, "startxref\n" + QByteArray::number(offset + 7) + '\n');
    return file.resize(0) && file.seek(0) && file.write(pdf) == pdf.size();
}

bool tellsOfRepair(const QString &message, const QString &done, const QString &path)
{
    return message.startsWith(done + QStringLiteral("\n\nDamage in the input was repaired")) &&
           message.contains(QLatin1Char('\n') + path + QStringLiteral(": file is damaged")) &&
           message.count(QLatin1Char('\n')) <= 6;
}

void writeSharedResources(const QString &path)
{
    QPDF pdf;
    pdf.emptyPDF();
    const auto image = [&](char grey) {
        Handle stream = Handle::newStream(&pdf, std::string(64 * 64, grey));
        stream.replaceDict(Handle::parse(
            "<< /Type /XObject /Subtype /Image /Width 64 /Height 64 /ColorSpace /DeviceGray /BitsPerComponent 8 >>"));
        return stream;
    };
    Handle resources = pdf.makeIndirectObject(Handle::newDictionary());
    resources.replaceKey("/XObject", Handle::parse("<< >>"));
    resources.getKey("/XObject").replaceKey("/Im1", image('\x40'));
    resources.getKey("/XObject").replaceKey("/Im2", image('\xc0'));
    for (const char *name : {"/Im1", "/Im2"}) {
        Handle page = Handle::parse("<< /Type /Page /MediaBox [0 0 200 200] >>");
        page.replaceKey("/Resources", resources);
        page.replaceKey("/Contents", Handle::newStream(&pdf, std::string("q 100 0 0 100 50 50 cm ") + name + " Do Q"));
        pdf.addPage(pdf.makeIndirectObject(page), false);
    }
    QPDFWriter(pdf, QFile::encodeName(path).constData()).write();
}

void addLinksAndOutline(const QString &path)
{
    rewrite(path, [](QPDF &pdf) {
        std::vector<Handle> pages = pdf.getAllPages();
        Handle names = Handle::parse("<< /Dests << /Names [] >> >>");
        names.getKey("/Dests").replaceKey("/Names",
                                          Handle::newArray({Handle::newString("ch3"), fitDestination(pages[7]),
                                                            Handle::newString("p9"), fitDestination(pages[8])}));
        pdf.getRoot().replaceKey("/Names", names);

        Handle action = Handle::parse("<< /S /GoTo >>");
        action.replaceKey("/D", fitDestination(pages[4]));
        pages[0].replaceKey("/Annots", Handle::newArray({linkAnnotation(pdf, "/Dest", fitDestination(pages[7]))}));
        pages[1].replaceKey("/Annots", Handle::newArray({linkAnnotation(pdf, "/A", action)}));
        pages[2].replaceKey("/Annots", Handle::newArray({linkAnnotation(pdf, "/Dest", Handle::newString("p9"))}));

        Handle root = pdf.makeIndirectObject(Handle::parse("<< /Type /Outlines >>"));
        Handle chapter2 = outlineItem(pdf, root, "Chapter 2", fitDestination(pages[3]));
        chain(chapter2, {outlineItem(pdf, chapter2, "Section 2.1", fitDestination(pages[4])),
                         outlineItem(pdf, chapter2, "Section 2.2", fitDestination(pages[8]))});
        chain(root, {outlineItem(pdf, root, "Chapter 1", fitDestination(pages[0])), chapter2,
                     outlineItem(pdf, root, "Chapter 3", Handle::newString("ch3"))});
        pdf.getRoot().replaceKey("/Outlines", root);
    });
}

void addOutlineLoop(const QString &path)
{
    rewrite(path, [](QPDF &pdf) {
        std::vector<Handle> pages = pdf.getAllPages();
        Handle root = pdf.makeIndirectObject(Handle::parse("<< /Type /Outlines /Count 2 >>"));
        Handle a = outlineItem(pdf, root, "A", fitDestination(pages[0]));
        Handle b = outlineItem(pdf, root, "B", fitDestination(pages[1]));
        for (auto [item, next] : {std::pair(a, b), std::pair(b, a)}) {
            item.replaceKey("/Next", next);
            item.replaceKey("/Prev", next);
        }
        a.replaceKey("/First", b);
        a.replaceKey("/Last", b);
        root.replaceKey("/First", a);
        root.replaceKey("/Last", b);
        pdf.getRoot().replaceKey("/Outlines", root);
    });
}

void addTextField(const QString &path, const QString &name)
{
    rewrite(path, [&](QPDF &pdf) {
        Handle page = pdf.getAllPages().front();
        Handle field = pdf.makeIndirectObject(Handle::parse(
            "<< /Type /Annot /Subtype /Widget /FT /Tx /Rect [50 700 250 730] /F 4 /DA (/Helv 12 Tf 0 g) >>"));
        field.replaceKey("/T", Handle::newUnicodeString(name.toStdString()));
        field.replaceKey("/V", Handle::newUnicodeString("value of " + name.toStdString()));
        field.replaceKey("/P", page);
        if (!page.getKey("/Annots").isArray())
            page.replaceKey("/Annots", Handle::newArray());
        page.getKey("/Annots").appendItem(field);
        Handle form = Handle::parse("<< /DA (/Helv 0 Tf 0 g) /NeedAppearances true >>");
        form.replaceKey("/Fields", Handle::newArray({field}));
        pdf.getRoot().replaceKey("/AcroForm", pdf.makeIndirectObject(form));
    });
}

void encrypt(const QString &path, const QString &password, const QStringList &keyOptions)
{
    const QString temporary = path + QStringLiteral(".enc");
    TestEnvironment::run(QStringLiteral("qpdf"), QStringList{QStringLiteral("--allow-weak-crypto"),
                                                             QStringLiteral("--encrypt"), password, password} +
                                                     keyOptions + QStringList{QStringLiteral("--"), path, temporary});
    QFile::remove(path);
    QFile::rename(temporary, path);
}

QStringList pageTexts(const QString &path)
{
    const QString text =
        QString::fromUtf8(TestEnvironment::run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}));
    QStringList pages = text.split(QLatin1Char('\f'));
    pages.removeLast(); // after the last page's form feed
    for (QString &page : pages)
        page = page.trimmed();
    return pages;
}

QStringList outline(const QString &path)
{
    // mutool prints one entry per line: a state mark, a tab per level, the quoted title, "#page=N..." or "(null)".
    const QString text = QString::fromUtf8(
        TestEnvironment::run(QStringLiteral("mutool"), {QStringLiteral("show"), path, QStringLiteral("outline")}));
    static const QRegularExpression entry(QStringLiteral("^[+|-](\\t+)\"(.*)\"\\t(?:#page=(\\d+)|\\(null\\))"));
    QStringList entries;
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = entry.match(line);
        if (match.hasMatch())
            entries.append(QString(2 * (match.capturedLength(1) - 1), QLatin1Char(' ')) + match.captured(2) +
                           QStringLiteral(" -> ") +
                           (match.capturedLength(3) > 0 ? match.captured(3) : QStringLiteral("none")));
        else
            entries.append(line);
    }
    return entries;
}

QList<int> linkTargets(const QString &path, int page)
{
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(QFile::encodeName(path).constData());
    const std::vector<Handle> &pages = pdf.getAllPages();
    QList<int> targets;
    Handle annotations = Handle(pages.at(size_t(page - 1))).getKey("/Annots");
    for (int i = 0; annotations.isArray() && i < annotations.getArrayNItems(); ++i) {
        Handle destination = annotations.getArrayItem(i).getKey("/Dest");
        int target = 0;
        if (destination.isArray() && destination.getArrayNItems() > 0 && destination.getArrayItem(0).isIndirect()) {
            for (size_t p = 0; p < pages.size(); ++p) {
                if (Handle(pages[p]).getObjGen() == destination.getArrayItem(0).getObjGen())
                    target = int(p + 1);
            }
        }
        targets.append(target);
    }
    return targets;
}

QStringList formFields(const QString &path)
{
    const QByteArray json = TestEnvironment::run(
        QStringLiteral("qpdf"), {QStringLiteral("--json"), QStringLiteral("--json-key=acroform"), path});
    QStringList fields;
    const QJsonArray array = QJsonDocument::fromJson(json)
                                 .object()
                                 .value(QStringLiteral("acroform"))
                                 .toObject()
                                 .value(QStringLiteral("fields"))
                                 .toArray();
    for (const QJsonValue &field : array) {
        const QJsonObject object = field.toObject();
        // qpdf marks text strings with "u:".
        fields.append(
            object.value(QStringLiteral("fullname")).toString() + QLatin1Char('=') +
            object.value(QStringLiteral("value")).toString().remove(QRegularExpression(QStringLiteral("^u:"))));
    }
    return fields;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace PdfTestFiles
