#include "passwordprotectsetpassworddialog.h"

#include "namedwidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordProtectSetPasswordDialog::PasswordProtectSetPasswordDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PasswordProtectSetPasswordDialog"));
    setWindowTitle(tr("Set Password"));
    resize(463, 208);

    passwordLabel = namedWidget<QLabel>(this, "passwordLabel");
    passwordLabel->setText(tr("Password:"));
    passwordLineEdit = namedWidget<QLineEdit>(this, "passwordLineEdit");
    passwordLineEdit->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(passwordLineEdit);
    repeatPasswordLabel = namedWidget<QLabel>(this, "repeatPasswordLabel");
    repeatPasswordLabel->setText(tr("Repeat Password:"));
    repeatPasswordLineEdit = namedWidget<QLineEdit>(this, "repeatPasswordLineEdit");
    repeatPasswordLineEdit->setEchoMode(QLineEdit::Password);
    repeatPasswordLabel->setBuddy(repeatPasswordLineEdit);
    passwordeNoteLabel = namedWidget<QLabel>(this, "passwordeNoteLabel");
    passwordeNoteLabel->setText(QStringLiteral("TextLabel"));
    setPasswordButton = namedWidget<QPushButton>(this, "setPasswordButton");
    setPasswordButton->setText(tr("Set Password"));
    setPasswordButton->setDefault(true);
    cancelButton = namedWidget<QPushButton>(this, "cancelButton");
    cancelButton->setText(tr("Cancel"));

    auto *grid = new QGridLayout;
    grid->setAlignment(Qt::AlignTop);
    grid->addWidget(passwordLabel, 0, 0);
    grid->addWidget(passwordLineEdit, 0, 1);
    grid->addWidget(repeatPasswordLabel, 1, 0);
    grid->addWidget(repeatPasswordLineEdit, 1, 1);
    grid->addWidget(passwordeNoteLabel, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(setPasswordButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    passwordeNoteLabel->hide();
    setPasswordButton->setEnabled(false);
    connect(passwordLineEdit, &QLineEdit::textChanged, this,
            &PasswordProtectSetPasswordDialog::on_passwordLineEdit_textChanged);
    connect(repeatPasswordLineEdit, &QLineEdit::textChanged, this,
            &PasswordProtectSetPasswordDialog::on_repeatPasswordLineEdit_textChanged);
    connect(setPasswordButton, &QPushButton::clicked, this,
            &PasswordProtectSetPasswordDialog::on_setPasswordButton_clicked);
    connect(cancelButton, &QPushButton::clicked, this, &PasswordProtectSetPasswordDialog::on_cancelButton_clicked);
}

void PasswordProtectSetPasswordDialog::on_cancelButton_clicked()
{
    reject();
    emit cancelProcess();
}

void PasswordProtectSetPasswordDialog::on_passwordLineEdit_textChanged(const QString &)
{
    validate();
}

void PasswordProtectSetPasswordDialog::on_repeatPasswordLineEdit_textChanged(const QString &)
{
    validate();
}

void PasswordProtectSetPasswordDialog::on_setPasswordButton_clicked()
{
    // Closed first, so that the folder question that follows is not stacked
    // over this dialog.
    accept();
    emit setPassword(passwordLineEdit->text());
}

void PasswordProtectSetPasswordDialog::validate()
{
    const QString password = passwordLineEdit->text();
    const QString repeated = repeatPasswordLineEdit->text();
    if (password.isEmpty() || repeated.isEmpty()) {
        setPasswordButton->setEnabled(false);
        return;
    }
    if (password != repeated) {
        passwordeNoteLabel->setText(tr("Passwords do not match."));
        passwordeNoteLabel->show();
        setPasswordButton->setEnabled(false);
        return;
    }
    passwordeNoteLabel->hide();
    setPasswordButton->setEnabled(true);
}
