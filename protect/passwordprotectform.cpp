#include "passwordprotectform.h"

#include "passwordprotectaddfilethread.h"
#include "passwordprotectpasswordthread.h"
#include "passwordprotectsetpassworddialog.h"
#include "shelldialogs.h"

#include <QAbstractButton>

namespace {
PdfListToolSetup protectSetup()
{
    return {
        .formName = "PasswordProtectForm",
        .formSize = {897, 750},
        .actionName = "passwordButton",
        .actionText = PasswordProtectForm::tr("Add Password"),
        .title = PasswordProtectForm::tr("Set PDF Password"),
        .doneText = PasswordProtectForm::tr("The PDF files have been successfully protected by password."),
        .progressAboveDropArea = true,
        .listsFileOnce = true,
        .pathsWithForwardSlashes = true,
        .makeAddFileThread = makePdfListAddFileThread<PasswordProtectAddFileThread>,
        .addIcon = {"_AddFile24.png", "_AddFileWhite24.png"},
        .actionIcon = {"_PasswordBlack.png", "_PasswordWhite24.png"},
    };
}
} // namespace

PasswordProtectForm::PasswordProtectForm(QWidget *parent)
    : PdfListToolForm(protectSetup(), parent)
{
}

// Cancelling the password dialog leaves the list as it is.
void PasswordProtectForm::on_setPasswordCancel() {}

void PasswordProtectForm::on_passwordButton_clicked()
{
    if (!actionButton()->isEnabled())
        return;
    auto *dialog = new PasswordProtectSetPasswordDialog(this);
    connect(dialog, &PasswordProtectSetPasswordDialog::cancelProcess, this, &PasswordProtectForm::on_setPasswordCancel);
    connect(dialog, &PasswordProtectSetPasswordDialog::setPassword, this, &PasswordProtectForm::on_setPassword);
    ShellDialogs::exec(dialog);
    dialog->deleteLater();
}

void PasswordProtectForm::on_setPassword(QString userPassword)
{
    if (userPassword.isEmpty())
        return;
    const QString folder = ShellDialogs::getExistingDirectory(this, tr("Select Folder"), loadPath);
    if (folder.isEmpty())
        return;
    startRun(new PasswordProtectPasswordThread(listedFiles(), folder, userPassword),
             &PasswordProtectPasswordThread::preparePassword, &PasswordProtectPasswordThread::progressPassword,
             &PasswordProtectPasswordThread::finishPassword);
}
