#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the password twice, so that a typing mistake does not lock the
// user out of the copies.
class PasswordProtectSetPasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordProtectSetPasswordDialog(QWidget *parent = nullptr);

signals:
    void cancelProcess();
    void setPassword(QString userPassword);

public slots:
    void on_cancelButton_clicked();
    void on_passwordLineEdit_textChanged(const QString &text);
    void on_repeatPasswordLineEdit_textChanged(const QString &text);
    void on_setPasswordButton_clicked();

private:
    void validate();

    QLabel *passwordLabel = nullptr;
    QLineEdit *passwordLineEdit = nullptr;
    QLabel *repeatPasswordLabel = nullptr;
    QLineEdit *repeatPasswordLineEdit = nullptr;
    QLabel *passwordeNoteLabel = nullptr;
    QPushButton *setPasswordButton = nullptr;
    QPushButton *cancelButton = nullptr;
};
