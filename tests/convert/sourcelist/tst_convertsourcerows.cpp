#include "convertsourcerows.h"
#include "thumbnailstore.h"

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

// Steps on the list, with the details that arrive for files listed earlier:
// each lands on its file's row wherever that row went, or nowhere once the
// file has left the list; the icons kept are those of the rows still listed.
class TestConvertSourceRows : public QObject
{
    Q_OBJECT

private slots:
    void detailsFindTheirRow_data()
    {
        // "add a b", "remove 0 2", "move 2 0" (row 2 to before row 0), "clear", "details a b"
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("landed");   // per detail: + on a row, - gone
        QTest::addColumn<QStringList>("rows"); // texts afterwards; a detailed row reads "name*"
        QTest::addColumn<int>("insertions");
        QTest::addColumn<int>("iconsKept");
        QTest::newRow("two batches") << QStringList{"add a b", "add c", "details c a"} << "++"
                                     << QStringList{"a*", "b", "c*"} << 2 << 2;
        QTest::newRow("rows above removed") << QStringList{"add a b c d", "remove 2 0", "details d a"} << "+-"
                                            << QStringList{"b", "d*"} << 1 << 1;
        QTest::newRow("rows moved") << QStringList{"add a b c", "move 2 0", "move 2 1", "details c b"} << "++"
                                    << QStringList{"c*", "b*", "a"} << 1 << 2;
        QTest::newRow("cleared, listed again") << QStringList{"add a b", "details a", "clear", "add b", "details a b"}
                                               << "+-+" << QStringList{"b*"} << 2 << 1;
        QTest::newRow("removed with its icon, listed again at the end")
            << QStringList{"add a b c", "details a", "remove 0", "add a", "details a c"} << "+++"
            << QStringList{"b", "c*", "a*"} << 2 << 2;
        QTest::newRow("icons go with Clear") << QStringList{"add a b c", "details a b c", "clear"} << "+++"
                                             << QStringList{} << 1 << 0;
    }

    void detailsFindTheirRow()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, landed);
        QFETCH(QStringList, rows);
        QFETCH(int, insertions);
        QFETCH(int, iconsKept);
        QStandardItemModel model(0, 2);
        ThumbnailStore icons;
        ConvertSourceRows sourceRows(&model, &icons);
        QSignalSpy inserted(&model, &QStandardItemModel::rowsInserted);
        int appendInsertions = 0;
        QString outcome;
        const auto path = [](const QString &name) { return QStringLiteral("/pictures/") + name + ".png"; };
        for (const QString &step : steps) {
            QStringList words = step.split(QLatin1Char(' '));
            const QString verb = words.takeFirst();
            if (verb == QLatin1String("add")) {
                QStringList paths;
                for (const QString &name : words)
                    paths << path(name);
                const qsizetype before = inserted.size();
                sourceRows.append(paths);
                appendInsertions += int(inserted.size() - before);
            } else if (verb == QLatin1String("remove")) {
                QList<int> numbers;
                for (const QString &number : words)
                    numbers << number.toInt();
                sourceRows.remove(numbers);
            } else if (verb == QLatin1String("move")) {
                model.insertRow(words.at(1).toInt(), model.takeRow(words.at(0).toInt()));
            } else if (verb == QLatin1String("details")) {
                for (const QString &name : words)
                    outcome += sourceRows.setDetails(path(name), name + QLatin1Char('*'), name.toLatin1()) ? '+' : '-';
            } else {
                sourceRows.clear();
            }
        }
        QCOMPARE(outcome, landed);
        QStringList texts;
        for (int row = 0; row < sourceRows.count(); ++row) {
            const QString text = model.item(row, 0)->text().remove(QStringLiteral(".png"));
            texts << text;
            QCOMPARE(sourceRows.path(row), path(QString(text).remove(QLatin1Char('*'))));
        }
        QCOMPARE(texts, rows);
        // One insertion per batch, however long, never one per row.
        QCOMPARE(appendInsertions, insertions);
        QCOMPARE(icons.count(), iconsKept);
    }
};

QTEST_MAIN(TestConvertSourceRows)
#include "tst_convertsourcerows.moc"
