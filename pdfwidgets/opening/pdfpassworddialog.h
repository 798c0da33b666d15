#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class PdfOpenCheckThread;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

// Asks for the password that opens one PDF. Each answer is tried in a render
// worker, off the GUI thread, while the dialog stays responsive and Cancel
// ends the try; a refused password keeps the dialog open and says so. The
// dialog closes only on a password that works or on Cancel.
class PdfPasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PdfPasswordDialog(const QString &pdfPath, QWidget *parent = nullptr);

    QString password() const;
    // Shows the "incorrect" note, as after a refused password.
    void showRefused();

    // Asks through the dialog seam; no value when the user cancels. refusedBefore shows the note
    // at once, for a password the renderer has just refused.
    static std::optional<QString> ask(QWidget *parent, const QString &pdfPath, bool refusedBefore = false);

public slots:
    // Returns once the password was tried (or the try was cancelled).
    void accept() override;
    void reject() override;

private:
    // Whether the file opens with the password typed; no value when the try
    // was cancelled.
    std::optional<bool> tryPassword();
    void setChecking(bool checking);

    const QString pdfPath;
    PdfOpenCheckThread *checking = nullptr;
    QLabel *messageLabel = nullptr;
    QLineEdit *passwordLineEdit = nullptr;
    QLabel *refusedLabel = nullptr;
    QDialogButtonBox *buttonBox = nullptr;
};
