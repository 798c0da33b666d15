#include "shelldialogs.h"

#include "shellhelpers.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

namespace {

// Scripted-mode state. Only tests switch it on, and only the GUI thread asks
// questions, so it needs no lock.
struct Script {
    bool on = false;
    QList<QVariant> answers;
    QList<ShellDialogs::Question> questions;
};

Script &script()
{
    static Script instance;
    return instance;
}

QVariant nextAnswer(const ShellDialogs::Question &question)
{
    script().questions.append(question);
    if (script().answers.isEmpty()) {
        qWarning("ShellDialogs: no scripted answer for %s \"%s\"", qPrintable(question.kind),
                 qPrintable(question.title));
        return {};
    }
    return script().answers.takeFirst();
}

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

QString ShellDialogs::getOpenFileName(QWidget *parent, const QString &caption, const QString &requestedDir,
                                      const QString &filter)
{
    const QString dir = ShellHelpers::dialogStartPath(requestedDir);
    if (script().on)
        return nextAnswer({QStringLiteral("open"), caption, dir}).toString();
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QStringList ShellDialogs::getOpenFileNames(QWidget *parent, const QString &caption, const QString &requestedDir,
                                           const QString &filter)
{
    const QString dir = ShellHelpers::dialogStartPath(requestedDir);
    if (script().on)
        return nextAnswer({QStringLiteral("openMany"), caption, dir}).toStringList();
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
}

QString ShellDialogs::getSaveFileName(QWidget *parent, const QString &caption, const QString &requested,
                                      const QString &filter)
{
    // A suggested file name is kept; only its folder has to exist.
    const QFileInfo suggested(requested);
    const bool namesNewFile = !requested.isEmpty() && !suggested.exists() && !suggested.isRelative();
    const QString dir =
        namesNewFile ? QDir(ShellHelpers::dialogStartPath(suggested.absolutePath())).filePath(suggested.fileName())
                     : ShellHelpers::dialogStartPath(requested);
    if (script().on)
        return nextAnswer({QStringLiteral("save"), caption, dir}).toString();
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString ShellDialogs::getExistingDirectory(QWidget *parent, const QString &caption, const QString &requestedDir)
{
    const QString dir = ShellHelpers::dialogStartPath(requestedDir);
    if (script().on)
        return nextAnswer({QStringLiteral("folder"), caption, dir}).toString();
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

QColor ShellDialogs::getColor(const QColor &initial, QWidget *parent, const QString &title)
{
    if (script().on) {
        const QVariant answer = nextAnswer({QStringLiteral("color"), title, initial.name()});
        return answer.canConvert<QColor>() ? answer.value<QColor>() : QColor();
    }
    return QColorDialog::getColor(initial, parent, title);
}

QAbstractButton *ShellDialogs::exec(QMessageBox &box)
{
    if (!script().on) {
        box.exec();
        return box.clickedButton();
    }
    const QVariant answer = nextAnswer({QStringLiteral("message"), box.windowTitle(), box.text()});
    if (answer.typeId() == QMetaType::QString) {
        for (QAbstractButton *button : box.buttons()) {
            if (withoutMnemonic(button->text()) == answer.toString())
                return button;
        }
        return nullptr;
    }
    if (!answer.isValid())
        return box.escapeButton();
    return box.button(static_cast<QMessageBox::StandardButton>(answer.toInt()));
}

QMessageBox::StandardButton ShellDialogs::message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                                  const QString &text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    QAbstractButton *clicked = exec(box);
    return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}

int ShellDialogs::exec(QDialog *dialog)
{
    if (!script().on) {
        return dialog->exec();
    }
    const QVariant answer = nextAnswer(
        {QStringLiteral("dialog"), dialog->windowTitle(), QString::fromLatin1(dialog->metaObject()->className())});
    QPointer<QDialog> guard(dialog);
    if (answer.canConvert<DialogScript>())
        answer.value<DialogScript>()(dialog);
    return guard ? guard->result() : QDialog::Rejected;
}

void ShellDialogs::openUrl(const QUrl &url)
{
    if (script().on) {
        script().questions.append({QStringLiteral("url"), url.toString(), QString()});
        return;
    }
    QDesktopServices::openUrl(url);
}

void ShellDialogs::setScripted(bool scripted)
{
    script() = Script{};
    script().on = scripted;
}

void ShellDialogs::enqueueAnswer(const QVariant &answer)
{
    script().answers.append(answer);
}

void ShellDialogs::enqueueDialogScript(const DialogScript &dialogScript)
{
    script().answers.append(QVariant::fromValue(dialogScript));
}

QList<ShellDialogs::Question> ShellDialogs::takeQuestions()
{
    return std::exchange(script().questions, {});
}

int ShellDialogs::pendingAnswers()
{
    return int(script().answers.size());
}
