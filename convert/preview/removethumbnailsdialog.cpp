#include "removethumbnailsdialog.h"

#include "namedwidget.h"
#include "thumbnailcache.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

RemoveThumbnailsDialog::RemoveThumbnailsDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("RemoveThumbnailsDialog"));
    resize(449, 127);
    setWindowTitle(tr("Dialog"));
    label = namedWidget<QLabel>(this, "label");
    label->setText(tr("The program removing unused thumbnail files. Please wait..."));
    cancelButton = namedWidget<QPushButton>(this, "cancelButton");
    cancelButton->setText(tr("Cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(buttons);
    QMetaObject::connectSlotsByName(this);
}

void RemoveThumbnailsDialog::removeThumbnails()
{
    if (removing)
        return;
    removing = true;
    ThumbnailCache::removeFiles([this] {
        // Lets the window paint and Cancel be pressed while files go.
        QCoreApplication::processEvents();
        return cancelled;
    });
    ThumbnailCache::setCleanupPending(false);
    removing = false;
    emit closeApp();
}

void RemoveThumbnailsDialog::on_cancelButton_clicked()
{
    cancelled = true;
}
