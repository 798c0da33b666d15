#include "aboutdialog.h"

#include "kivglobal.h"
#include "theme.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *makeLabel(QWidget *parent, const char *objectName, int pointSize = 0, bool bold = false)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    if (pointSize > 0) {
        QFont font = label->font();
        font.setPointSize(pointSize);
        font.setBold(bold);
        label->setFont(font);
    }
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    setupUi();

    const QUrl site = KivGlobal::websiteUrl();
    webLabel->setTextFormat(Qt::RichText);
    webLabel->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                          .arg(site.toString(QUrl::FullyEncoded).toHtmlEscaped(), site.host().toHtmlEscaped()));
    label->setText(KivGlobal::productName());
    versionLabel->setText(tr("Version: ") + KivGlobal::versionString());

    // The content decides the height, the designer size is the least the box
    // takes; larger system fonts grow it instead of clipping the texts.
    setFixedSize(sizeHint().expandedTo(QSize(534, 343)));
}

void AboutDialog::setupUi()
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(tr("About"));
    // Closing by Esc or the title bar releases the box as well as its Close
    // button does; the main window makes a new one for every opening.
    setAttribute(Qt::WA_DeleteOnClose);

    label = makeLabel(this, "label", 18, true);
    label_5 = makeLabel(this, "label_5", 16, false);
    label_5->setText(tr("for Windows 11/10"));
    versionLabel = makeLabel(this, "versionLabel");
    label_2 = makeLabel(this, "label_2");
    label_2->setText(tr("Website:"));
    webLabel = makeLabel(this, "webLabel");
    QFont linkFont = webLabel->font();
    linkFont.setUnderline(true);
    webLabel->setFont(linkFont);
    webLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse |
                                      Qt::LinksAccessibleByKeyboard);
    webLabel->setOpenExternalLinks(true);
    label_2->setBuddy(webLabel);

    line = new QFrame(this);
    line->setObjectName(QStringLiteral("line"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    label_3 = makeLabel(this, "label_3");
    label_3->setText(tr("Copyright © 2026 Corvane. All rights reserved."));

    label_4 = makeLabel(this, "label_4");
    label_4->setFixedSize(128, 128);
    label_4->setPixmap(QPixmap(Theme::imagePath(QStringLiteral("AboutLogo.png"))));

    closeButton = new QPushButton(tr("Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setDefault(true);

    auto *websiteRow = new QHBoxLayout;
    websiteRow->addWidget(label_2);
    websiteRow->addWidget(webLabel);
    websiteRow->addStretch();

    auto *texts = new QVBoxLayout;
    texts->addWidget(label);
    texts->addWidget(label_5);
    texts->addSpacing(12);
    texts->addWidget(versionLabel);
    texts->addLayout(websiteRow);
    texts->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(label_4, 0, Qt::AlignTop);
    top->addSpacing(24);
    top->addLayout(texts, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 24, 24, 16);
    outer->addLayout(top, 1);
    outer->addWidget(line);
    outer->addWidget(label_3);
    outer->addLayout(buttons);

    setTabOrder(webLabel, closeButton);
    closeButton->setFocus();

    QMetaObject::connectSlotsByName(this);
}

void AboutDialog::on_closeButton_clicked()
{
    deleteLater();
    reject();
}
