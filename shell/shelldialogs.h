#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <functional>

class QDialog;
class QWidget;

// The one place where the program asks the user something modal or hands
// something to the desktop. Tests switch it to scripted mode and queue the
// answers, so GUI flows run end to end without a person and never block.
class ShellDialogs
{
public:
    // File and folder dialogs start where ShellHelpers::dialogStartPath() says.
    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
    static QStringList getOpenFileNames(QWidget *parent, const QString &caption, const QString &dir,
                                        const QString &filter);
    static QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
    static QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir);
    static QColor getColor(const QColor &initial, QWidget *parent, const QString &title);

    // Runs a prepared message box; returns the button that was clicked (null
    // when the box was closed without one).
    static QAbstractButton *exec(QMessageBox &box);
    // Convenience for the common one-button or Yes/No boxes.
    static QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                               const QString &text,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok);

    // Runs one of our own dialogs modally.
    static int exec(QDialog *dialog);

    static void openUrl(const QUrl &url);

    // --- scripted mode, for tests ---------------------------------------
    struct Question {
        QString kind;  // "open", "openMany", "save", "folder", "color", "message", "dialog", "url"
        QString title; // caption, title or URL
        QString text;  // message text, start folder or dialog class name
    };
    // A file or folder answer is a QString (empty = cancelled) or QStringList;
    // a message answer is a QMessageBox::StandardButton or the text of an added
    // button; a colour answer is a QColor; a dialog answer is a function that
    // works the dialog's widgets.
    using DialogScript = std::function<void(QDialog *)>;

    static void setScripted(bool scripted);
    static void enqueueAnswer(const QVariant &answer);
    static void enqueueDialogScript(const DialogScript &script);
    static QList<Question> takeQuestions();
    static int pendingAnswers();
};

Q_DECLARE_METATYPE(ShellDialogs::DialogScript)
