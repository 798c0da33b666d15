#pragma once

#include "pdflisttoolform.h"

#include <QString>

// The "Password Protect" tab: an AES-256 encrypted copy of every listed PDF,
// written into a folder the user picks. The sources are never changed.
class PasswordProtectForm : public PdfListToolForm
{
    Q_OBJECT
public:
    explicit PasswordProtectForm(QWidget *parent = nullptr);

public slots:
    void on_passwordButton_clicked();
    void on_setPasswordCancel();
    void on_setPassword(QString userPassword);
};
