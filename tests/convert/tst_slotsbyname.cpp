#include "slotsbyname.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QWidget>

namespace {

// Slots the way a part of a form declares them, for widgets that belong to
// the form rather than to the part.
class Receiver : public QObject
{
    Q_OBJECT
public:
    QStringList calls;

public slots:
    void on_edit_textChanged(const QString &) { calls << QStringLiteral("edit"); }
    void on_button_clicked() { calls << QStringLiteral("button"); }
    void on_label_2_linkActivated(const QString &) { calls << QStringLiteral("label_2"); }
    void on_nestedSpin_valueChanged(int) { calls << QStringLiteral("nestedSpin"); }
    void on_check_toggled(bool = true) { calls << QStringLiteral("check"); }
    void on_missing_clicked() {}
    void on_button_doubleTapped() {}
};

struct Form {
    QWidget root;
    QLineEdit *edit = new QLineEdit(&root);
    QPushButton *button = new QPushButton(&root);
    QLabel *label = new QLabel(&root);
    QLabel *label2 = new QLabel(&root);
    QWidget *group = new QWidget(&root);
    QSpinBox *spin = new QSpinBox(group);
    QCheckBox *check = new QCheckBox(&root);

    Form()
    {
        edit->setObjectName(QStringLiteral("edit"));
        button->setObjectName(QStringLiteral("button"));
        label->setObjectName(QStringLiteral("label"));
        label2->setObjectName(QStringLiteral("label_2"));
        spin->setObjectName(QStringLiteral("nestedSpin"));
        check->setObjectName(QStringLiteral("check"));
    }
};

} // namespace

class TestSlotsByName : public QObject
{
    Q_OBJECT

private slots:
    void slotsWithoutAWidgetSignalAreReported();
    void eachSignalReachesItsSlotOnce_data();
    void eachSignalReachesItsSlotOnce();
};

void TestSlotsByName::slotsWithoutAWidgetSignalAreReported()
{
    Form form;
    Receiver receiver;
    QCOMPARE(SlotsByName::connect(&receiver, &form.root),
             QStringList({QStringLiteral("on_missing_clicked()"), QStringLiteral("on_button_doubleTapped()")}));
}

void TestSlotsByName::eachSignalReachesItsSlotOnce_data()
{
    QTest::addColumn<QString>("widget");
    QTest::newRow("the slot takes the signal's parameters") << QStringLiteral("edit");
    QTest::newRow("the slot takes fewer parameters") << QStringLiteral("button");
    QTest::newRow("a name that begins with another's") << QStringLiteral("label_2");
    QTest::newRow("a widget inside another") << QStringLiteral("nestedSpin");
    QTest::newRow("a slot with a default argument") << QStringLiteral("check");
}

void TestSlotsByName::eachSignalReachesItsSlotOnce()
{
    QFETCH(QString, widget);
    Form form;
    Receiver receiver;
    SlotsByName::connect(&receiver, &form.root);
    if (widget == QLatin1String("edit"))
        form.edit->setText(QStringLiteral("x"));
    else if (widget == QLatin1String("button"))
        form.button->click();
    else if (widget == QLatin1String("label_2"))
        emit form.label2->linkActivated(QStringLiteral("x"));
    else if (widget == QLatin1String("nestedSpin"))
        form.spin->setValue(3);
    else
        form.check->toggle();
    QCOMPARE(receiver.calls, QStringList{widget});
}

QTEST_MAIN(TestSlotsByName)
#include "tst_slotsbyname.moc"
