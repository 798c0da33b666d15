#include "convertsourcerows.h"

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

// Steps on the list, then the details that arrive for files listed earlier:
// each lands on its file's row wherever that row went, or nowhere once the
// file has left the list.
class TestConvertSourceRows : public QObject
{
    Q_OBJECT

private slots:
    void detailsFindTheirRow_data()
    {
        QTest::addColumn<QStringList>("steps"); // "add a b", "remove 0 2", "move 2 0" (row 2 to before row 0), "clear"
        QTest::addColumn<QStringList>("details");
        QTest::addColumn<QString>("landed");   // per detail: + on a row, - gone
        QTest::addColumn<QStringList>("rows"); // texts afterwards; a detailed row reads "name*"
        QTest::addColumn<int>("insertions");
        QTest::newRow("two batches") << QStringList{"add a b", "add c"} << QStringList{"c", "a"} << "++"
                                     << QStringList{"a*", "b", "c*"} << 2;
        QTest::newRow("rows above removed")
            << QStringList{"add a b c d", "remove 2 0"} << QStringList{"d", "a"} << "+-" << QStringList{"b", "d*"} << 1;
        QTest::newRow("rows moved") << QStringList{"add a b c", "move 2 0", "move 2 1"} << QStringList{"c", "b"} << "++"
                                    << QStringList{"c*", "b*", "a"} << 1;
        QTest::newRow("cleared, listed again")
            << QStringList{"add a b", "clear", "add b"} << QStringList{"a", "b"} << "-+" << QStringList{"b*"} << 2;
        QTest::newRow("removed, listed again at the end")
            << QStringList{"add a b c", "remove 0", "add a"} << QStringList{"a", "c"} << "++"
            << QStringList{"b", "c*", "a*"} << 2;
    }

    void detailsFindTheirRow()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, details);
        QFETCH(QString, landed);
        QFETCH(QStringList, rows);
        QFETCH(int, insertions);
        QStandardItemModel model(0, 2);
        ConvertSourceRows sourceRows(&model);
        QSignalSpy inserted(&model, &QStandardItemModel::rowsInserted);
        int appendInsertions = 0;
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
            } else {
                sourceRows.clear();
            }
        }
        QString outcome;
        for (const QString &name : details)
            outcome += sourceRows.setDetails(path(name), name + QLatin1Char('*'), QIcon()) ? '+' : '-';
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
    }
};

QTEST_MAIN(TestConvertSourceRows)
#include "tst_convertsourcerows.moc"
