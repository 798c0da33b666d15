#include "pdfpassworddialog.h"

#include "namedwidget.h"
#include "pdfopencheckthread.h"
#include "shelldialogs.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

PdfPasswordDialog::PdfPasswordDialog(const QString &pdfPath, QWidget *parent)
    : QDialog(parent)
    , pdfPath(pdfPath)
{
    setObjectName(QStringLiteral("PdfPasswordDialog"));
    setWindowTitle(tr("Password Required"));
    setMinimumWidth(420);

    messageLabel = namedWidget<QLabel>(this, "messageLabel");
    messageLabel->setText(
        tr("\"%1\" is protected with a password. Enter the password to open it.").arg(QFileInfo(pdfPath).fileName()));
    messageLabel->setWordWrap(true);
    messageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    passwordLineEdit = namedWidget<QLineEdit>(this, "passwordLineEdit");
    passwordLineEdit->setEchoMode(QLineEdit::Password);
    passwordLineEdit->setAccessibleName(tr("Password"));
    refusedLabel = namedWidget<QLabel>(this, "refusedLabel");
    refusedLabel->setText(tr("The password is incorrect. Please try again."));
    QFont bold = refusedLabel->font();
    bold.setBold(true);
    refusedLabel->setFont(bold);
    // Its room is kept from the start: appearing later would squeeze the message.
    QSizePolicy keepRoom = refusedLabel->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    refusedLabel->setSizePolicy(keepRoom);
    refusedLabel->hide();
    buttonBox = namedWidget<QDialogButtonBox>(this, "buttonBox");
    buttonBox->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Open"));
    buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);

    auto *form = new QFormLayout;
    form->addRow(tr("&Password:"), passwordLineEdit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(messageLabel);
    layout->addLayout(form);
    layout->addWidget(refusedLabel);
    layout->addStretch();
    layout->addWidget(buttonBox);

    connect(passwordLineEdit, &QLineEdit::textChanged, this,
            [this](const QString &text) { buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!text.isEmpty()); });
    connect(buttonBox, &QDialogButtonBox::accepted, this, &PdfPasswordDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &PdfPasswordDialog::reject);
    passwordLineEdit->setFocus();
}

QString PdfPasswordDialog::password() const
{
    return passwordLineEdit->text();
}

void PdfPasswordDialog::showRefused()
{
    refusedLabel->setText(tr("The password is incorrect. Please try again."));
    refusedLabel->show();
    passwordLineEdit->selectAll();
    passwordLineEdit->setFocus();
}

void PdfPasswordDialog::accept()
{
    if (password().isEmpty() || checking)
        return;
    const QPointer<PdfPasswordDialog> self(this);
    const std::optional<bool> opens = tryPassword();
    if (!self || !opens)
        return;
    if (*opens)
        QDialog::accept();
    else
        showRefused();
}

void PdfPasswordDialog::reject()
{
    if (checking)
        checking->requestStop();
    QDialog::reject();
}

std::optional<bool> PdfPasswordDialog::tryPassword()
{
    setChecking(true);
    auto *thread = new PdfOpenCheckThread({pdfPath, password()}, this);
    checking = thread;
    std::optional<bool> opens;
    QEventLoop loop;
    // Any other reason not to open is the intake's to report, once listed.
    connect(thread, &PdfOpenCheckThread::checked, &loop,
            [&](const PdfOpenProblem &problem) { opens = !problem.needsPassword(); });
    connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    const QPointer<PdfPasswordDialog> self(this);
    thread->start();
    loop.exec();
    if (!self)
        return std::nullopt;
    checking = nullptr;
    delete thread;
    setChecking(false);
    return opens;
}

void PdfPasswordDialog::setChecking(bool checking)
{
    passwordLineEdit->setReadOnly(checking);
    buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!checking && !password().isEmpty());
    if (checking) {
        refusedLabel->setText(tr("Checking the password..."));
        refusedLabel->show();
    } else {
        refusedLabel->hide();
    }
}

std::optional<QString> PdfPasswordDialog::ask(QWidget *parent, const QString &pdfPath, bool refusedBefore)
{
    QPointer<PdfPasswordDialog> dialog = new PdfPasswordDialog(pdfPath, parent);
    if (refusedBefore)
        dialog->showRefused();
    const bool accepted = ShellDialogs::exec(dialog) == QDialog::Accepted;
    std::optional<QString> password;
    if (dialog) {
        if (accepted)
            password = dialog->password();
        // No copy of the password stays behind in a widget awaiting deletion.
        dialog->passwordLineEdit->clear();
        dialog->deleteLater();
    }
    return password;
}
