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
//
// Saving follows one rule: nothing is replaced before the user agreed to
// replace that very file, extension included.
// - A save dialog gets the extension the file will have (getSaveFileName's
//   defaultSuffix); the path it returns is final and already agreed to.
// - Where the program builds a path itself (a folder and a typed name, an
//   extension it adds), call confirmOverwrite(parent, finalPath) before
//   writing; false means the user wants another name or nothing at all.
class ShellDialogs
{
public:
    // File and folder dialogs start where ShellHelpers::dialogStartPath() says.
    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
    static QStringList getOpenFileNames(QWidget *parent, const QString &caption, const QString &dir,
                                        const QString &filter);
    // The file to save to, empty when the user cancelled. A name typed without
    // an extension gets defaultSuffix ("pdf") before the dialog's own "already
    // exists" question; where the platform's dialog returned the name without
    // it, the completed name is put to the user with confirmOverwrite() and a
    // No opens the dialog again. The caller may replace the returned file.
    static QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                                   const QString &defaultSuffix = QString());
    static QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir);
    static QColor getColor(const QColor &initial, QWidget *parent, const QString &title);

    // True when nothing is at path yet or the user answered Yes to the
    // program's "Confirm overwrite" question about it (default No).
    static bool confirmOverwrite(QWidget *parent, const QString &path);

    // Runs a prepared message box; returns the button that was clicked (for
    // Esc or the close box, the box's escape button; null when it has none).
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
    // Every way a person can end a dialog without choosing: reject() (a
    // Cancel button), the Esc key and the title bar's close box. A file,
    // folder or colour dialog ended so is cancelled; a message box gets a
    // real Esc key press or close event, as do our own dialogs.
    enum class Ending { Rejected, Escape, CloseBox };
    // One answer per question. A file or folder answer is a QString (empty =
    // cancelled) or QStringList, a save answer the name as typed into a dialog
    // that completes the extension and asks before replacing, as Qt's, the
    // Windows and the macOS dialogs do (asUncheckedSaveName: one that does
    // neither); a message answer is a QMessageBox::StandardButton or the text
    // of an added button; a colour answer is a QColor; a dialog answer is a
    // function that works the dialog's widgets; any of them may be an Ending.
    // Message boxes and our own dialogs are shown (not run modally) while
    // their answer is applied; one left open by its answer is rejected.
    using DialogScript = std::function<void(QDialog *)>;
    struct UncheckedSaveName {
        QString path;
    };
    static QVariant asUncheckedSaveName(const QString &path);

    static void setScripted(bool scripted);
    static void enqueueAnswer(const QVariant &answer);
    static void enqueueDialogScript(const DialogScript &script);
    static void enqueueEnding(Ending ending);
    static QList<Question> takeQuestions();
    static int pendingAnswers();
};

Q_DECLARE_METATYPE(ShellDialogs::DialogScript)
Q_DECLARE_METATYPE(ShellDialogs::Ending)
Q_DECLARE_METATYPE(ShellDialogs::UncheckedSaveName)
