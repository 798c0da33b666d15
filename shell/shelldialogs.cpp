#include "shelldialogs.h"

#include "kivglobal.h"
#include "shellhelpers.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
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

template<typename T> bool holds(const QVariant &answer)
{
    return answer.metaType() == QMetaType::fromType<T>();
}

// A file or folder answer; an ending cancels the dialog.
QString pathAnswer(const QVariant &answer)
{
    return holds<ShellDialogs::Ending>(answer) ? QString() : answer.toString();
}

// A box that only reports (OK beside an action such as "Open Folder", nothing
// that declines) would ignore Esc and its close box: Qt finds no escape button
// there. Such a box closes as by OK.
void letEscapeAcknowledge(QMessageBox &box)
{
    QAbstractButton *ok = box.button(QMessageBox::Ok);
    if (!ok || box.escapeButton())
        return;
    for (QAbstractButton *button : box.buttons()) {
        const QMessageBox::ButtonRole role = box.buttonRole(button);
        if (role == QMessageBox::RejectRole || role == QMessageBox::NoRole)
            return;
    }
    box.setEscapeButton(ok);
}

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

void pressEscape(QWidget *dialog)
{
    // Sent where the keyboard is, so a control that takes Esc for itself
    // keeps it, as it would for a person.
    QWidget *target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

void end(QDialog *dialog, ShellDialogs::Ending ending)
{
    switch (ending) {
    case ShellDialogs::Ending::Rejected:
        // A message box has no reject of its own: Esc is how it is declined.
        if (qobject_cast<QMessageBox *>(dialog))
            pressEscape(dialog);
        else
            dialog->reject();
        break;
    case ShellDialogs::Ending::Escape:
        pressEscape(dialog);
        break;
    case ShellDialogs::Ending::CloseBox:
        dialog->close();
        break;
    }
}

// A save dialog's answer: the path it returned and whether the dialog itself
// asked before returning a file that exists.
struct SaveAnswer {
    QString path;
    bool checkedByDialog = true;
};

// The name with defaultSuffix added when it has none, by the rule Qt's own
// file dialog applies (a name without any dot).
QString withDefaultSuffix(const QString &path, const QString &defaultSuffix)
{
    if (path.isEmpty() || defaultSuffix.isEmpty() || QFileInfo(path).fileName().contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + defaultSuffix;
}

SaveAnswer runSaveDialog(QWidget *parent, const QString &caption, const QString &start, const QString &filter,
                         const QString &defaultSuffix)
{
    QFileDialog dialog(parent, caption, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(), true};
}

// Plays a save dialog that completes the name and asks before returning an
// existing file; a No (or any ending) leaves the user in the dialog, where
// the next answer is typed.
SaveAnswer scriptedSaveDialog(const QString &caption, const QString &start, const QString &defaultSuffix)
{
    const QVariant answer = nextAnswer({QStringLiteral("save"), caption, start});
    if (holds<ShellDialogs::UncheckedSaveName>(answer))
        return {answer.value<ShellDialogs::UncheckedSaveName>().path, false};
    const QString completed = withDefaultSuffix(pathAnswer(answer), defaultSuffix);
    if (completed.isEmpty() || !QFileInfo::exists(completed))
        return {completed, true};
    const QString question = QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                                 .arg(QFileInfo(completed).fileName());
    const QVariant reply = nextAnswer({QStringLiteral("message"), caption, question});
    if (!holds<ShellDialogs::Ending>(reply) && reply.toInt() == QMessageBox::Yes)
        return {completed, true};
    return scriptedSaveDialog(caption, completed, defaultSuffix);
}

} // namespace

QString ShellDialogs::getOpenFileName(QWidget *parent, const QString &caption, const QString &requestedDir,
                                      const QString &filter)
{
    const QString dir = ShellHelpers::dialogStartPath(requestedDir);
    if (script().on)
        return pathAnswer(nextAnswer({QStringLiteral("open"), caption, dir}));
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QStringList ShellDialogs::getOpenFileNames(QWidget *parent, const QString &caption, const QString &requestedDir,
                                           const QString &filter)
{
    const QString dir = ShellHelpers::dialogStartPath(requestedDir);
    if (script().on) {
        const QVariant answer = nextAnswer({QStringLiteral("openMany"), caption, dir});
        return holds<Ending>(answer) ? QStringList() : answer.toStringList();
    }
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
}

QString ShellDialogs::getSaveFileName(QWidget *parent, const QString &caption, const QString &requested,
                                      const QString &filter, const QString &defaultSuffix)
{
    // A suggested file name is kept; only its folder has to exist.
    const QFileInfo suggested(requested);
    const bool namesNewFile = !requested.isEmpty() && !suggested.exists() && !suggested.isRelative();
    QString start = namesNewFile
                        ? QDir(ShellHelpers::dialogStartPath(suggested.absolutePath())).filePath(suggested.fileName())
                        : ShellHelpers::dialogStartPath(requested);
    for (;;) {
        const SaveAnswer answer = script().on ? scriptedSaveDialog(caption, start, defaultSuffix)
                                              : runSaveDialog(parent, caption, start, filter, defaultSuffix);
        const QString path = withDefaultSuffix(answer.path, defaultSuffix);
        // The dialog's own question covered the name it returned, not one
        // completed after it.
        if (path.isEmpty() || (path == answer.path && answer.checkedByDialog) || confirmOverwrite(parent, path))
            return path;
        start = path;
    }
}

QString ShellDialogs::getExistingDirectory(QWidget *parent, const QString &caption, const QString &requestedDir)
{
    const QString dir = ShellHelpers::dialogStartPath(requestedDir);
    if (script().on)
        return pathAnswer(nextAnswer({QStringLiteral("folder"), caption, dir}));
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

QColor ShellDialogs::getColor(const QColor &initial, QWidget *parent, const QString &title)
{
    if (script().on) {
        const QVariant answer = nextAnswer({QStringLiteral("color"), title, initial.name()});
        return !holds<Ending>(answer) && answer.canConvert<QColor>() ? answer.value<QColor>() : QColor();
    }
    return QColorDialog::getColor(initial, parent, title);
}

bool ShellDialogs::confirmOverwrite(QWidget *parent, const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    QMessageBox box(QMessageBox::Question, KivGlobal::productName(),
                    QCoreApplication::translate("ShellDialogs", "Confirm overwrite"),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setInformativeText(QCoreApplication::translate("ShellDialogs", "Are you sure you want to overwrite ") +
                           QDir::toNativeSeparators(path) + QLatin1Char('?'));
    box.setDefaultButton(QMessageBox::No);
    return exec(box) == box.button(QMessageBox::Yes);
}

QAbstractButton *ShellDialogs::exec(QMessageBox &box)
{
    letEscapeAcknowledge(box);
    if (!script().on) {
        box.exec();
        return box.clickedButton();
    }
    const QVariant answer = nextAnswer({QStringLiteral("message"), box.windowTitle(), box.text()});
    box.show(); // Esc and the close box act on a shown box only
    if (holds<Ending>(answer) || !answer.isValid()) {
        end(&box, answer.isValid() ? answer.value<Ending>() : Ending::Escape);
    } else if (answer.typeId() == QMetaType::QString) {
        for (QAbstractButton *button : box.buttons()) {
            if (withoutMnemonic(button->text()) == answer.toString()) {
                button->click();
                break;
            }
        }
    } else if (QAbstractButton *button = box.button(static_cast<QMessageBox::StandardButton>(answer.toInt()))) {
        button->click();
    }
    box.hide();
    return box.clickedButton();
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
    if (!script().on)
        return dialog->exec();
    const QVariant answer = nextAnswer(
        {QStringLiteral("dialog"), dialog->windowTitle(), QString::fromLatin1(dialog->metaObject()->className())});
    QPointer<QDialog> guard(dialog);
    dialog->show();
    if (holds<Ending>(answer))
        end(dialog, answer.value<Ending>());
    else if (holds<DialogScript>(answer))
        answer.value<DialogScript>()(dialog);
    if (guard && guard->isVisible())
        guard->reject();
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

QVariant ShellDialogs::asUncheckedSaveName(const QString &path)
{
    return QVariant::fromValue(UncheckedSaveName{path});
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

void ShellDialogs::enqueueEnding(Ending ending)
{
    script().answers.append(QVariant::fromValue(ending));
}

QList<ShellDialogs::Question> ShellDialogs::takeQuestions()
{
    return std::exchange(script().questions, {});
}

int ShellDialogs::pendingAnswers()
{
    return int(script().answers.size());
}
