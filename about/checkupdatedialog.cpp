#include "checkupdatedialog.h"

#include "shellhelpers.h"
#include "theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A server that accepts the connection but never answers would otherwise
// leave the dialog checking for ever; an aborted transfer reads as no update.
constexpr int transferTimeoutMs = 15000;
} // namespace

CheckUpdateDialog::CheckUpdateDialog(QWidget *parent, const QUrl &site)
    : QDialog(parent)
{
    setupUi();
    downloadButton->hide();
    installVersionLabel->setText(tr("Installed Version: ") + KivGlobal::versionString());

    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &CheckUpdateDialog::fileIsReady);
    requestUpdateFile(site);
}

void CheckUpdateDialog::setupUi()
{
    setObjectName(QStringLiteral("CheckUpdateDialog"));
    setWindowTitle(tr("Check Update"));
    resize(419, 217);
    // Esc and the title bar release the dialog too, and with it a request
    // that may still be under way.
    setAttribute(Qt::WA_DeleteOnClose);

    label = new QLabel(tr("Check Update"), this);
    label->setObjectName(QStringLiteral("label"));
    QFont titleFont = label->font();
    titleFont.setPointSize(20);
    titleFont.setBold(true);
    label->setFont(titleFont);

    label_4 = new QLabel(this);
    label_4->setObjectName(QStringLiteral("label_4"));
    label_4->setFixedSize(131, 131);
    label_4->setAlignment(Qt::AlignCenter);
    label_4->setPixmap(QPixmap(Theme::imagePath(QStringLiteral("Update128.png"))));

    installVersionLabel = new QLabel(this);
    installVersionLabel->setObjectName(QStringLiteral("installVersionLabel"));

    messageLabel = new QLabel(tr("Checking for update ..."), this);
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    messageLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    downloadButton = new QPushButton(tr("Download update"), this);
    downloadButton->setObjectName(QStringLiteral("downloadButton"));
    closeButton = new QPushButton(tr("Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    auto *texts = new QVBoxLayout;
    texts->addWidget(label);
    texts->addWidget(installVersionLabel);
    texts->addSpacing(8);
    texts->addWidget(messageLabel, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(label_4, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(downloadButton);
    buttons->addWidget(closeButton);

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addLayout(buttons);

    setTabOrder(downloadButton, closeButton);
    closeButton->setFocus();

    QMetaObject::connectSlotsByName(this);
}

void CheckUpdateDialog::requestUpdateFile(const QUrl &site)
{
    QUrl url = site;
    url.setPath(QStringLiteral("/Folioforge/update.txt"));
    QNetworkRequest request(url);
    request.setTransferTimeout(transferTimeoutMs);
    manager->get(request);
}

void CheckUpdateDialog::on_closeButton_clicked()
{
    deleteLater();
    reject();
}

void CheckUpdateDialog::fileIsReady(QNetworkReply *reply)
{
    // A failed request leaves an empty or unusable body, which announces
    // nothing newer; the user is sent to the web site then. An aborted reply
    // is closed and has no body to read.
    published = parseUpdateFile(reply->isReadable() ? reply->readAll() : QByteArray());
    if (isNewer(published, KivGlobal::majorVersion, KivGlobal::minorVersion, KivGlobal::subMinorVersion)) {
        downloadButton->setText(tr("Download update"));
        messageLabel->setText(tr("Version %1.%2.%3 is available to download.")
                                  .arg(published.major)
                                  .arg(published.minor)
                                  .arg(published.subMinor));
    } else {
        messageLabel->setText(tr("There are no software updates available at this time."));
        downloadButton->setText(tr("Visit Website"));
    }
    downloadButton->show();
    reply->deleteLater();
}

void CheckUpdateDialog::on_downloadButton_clicked()
{
    ShellHelpers::openWebPage(KivGlobal::productPageUrl());
}
