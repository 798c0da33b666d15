#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// Asks for the password that opens one PDF. A password the check refuses
// keeps the dialog open and says so; the dialog closes only on a password
// that works or on Cancel.
class PdfPasswordDialog : public QDialog
{
    Q_OBJECT
public:
    using PasswordCheck = std::function<bool(const QString &password)>;

    PdfPasswordDialog(const QString &pdfPath, PasswordCheck check, QWidget *parent = nullptr);

    QString password() const;
    // Shows the "incorrect" note, as after a refused password.
    void showRefused();

    // Asks through the dialog seam, checking each answer with the PDF
    // library; no value when the user cancels. refusedBefore shows the note
    // at once, for a password the renderer has just refused.
    static std::optional<QString> ask(QWidget *parent, const QString &pdfPath, bool refusedBefore = false);

public slots:
    void accept() override;

private:
    PasswordCheck check;
    QLabel *messageLabel = nullptr;
    QLineEdit *passwordLineEdit = nullptr;
    QLabel *refusedLabel = nullptr;
    QDialogButtonBox *buttonBox = nullptr;
};
