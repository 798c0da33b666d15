#include "theme.h"

#include "colorscheme.h"

#include <QAbstractButton>
#include <QAction>
#include <QIcon>
#include <QLabel>

namespace Theme {

QString imagePath(const QString &fileName)
{
    return QStringLiteral(":/resources/images/") + fileName;
}

void applyIcon(QAbstractButton *button, const QString &light, const QString &dark, const QString &disabled)
{
    QString name = isDarkColorScheme() ? dark : light;
    if (!button->isEnabled() && !disabled.isEmpty())
        name = disabled;
    button->setIcon(QIcon(imagePath(name)));
}

void applyIcon(QAction *action, const QString &light, const QString &dark)
{
    action->setIcon(QIcon(imagePath(isDarkColorScheme() ? dark : light)));
}

void applyPixmap(QLabel *label, const QString &light, const QString &dark)
{
    label->setPixmap(QPixmap(imagePath(isDarkColorScheme() ? dark : light)));
}

QString checkListStyleSheet(const QString &viewClass)
{
    const bool dark = isDarkColorScheme();
    const QString background = dark ? QStringLiteral("black") : QStringLiteral("white");
    const QString border = dark ? QStringLiteral("lightgray") : QStringLiteral("darkgray");
    const QString check = dark ? QStringLiteral("CheckWhiteIcon24.png") : QStringLiteral("CheckIcon24.png");
    // A background in the style sheet takes the style's frame with it, focus
    // marker included, so the frame is drawn here: the highlight colour, one
    // pixel thicker, while the list has the focus.
    return QStringLiteral("%1 { background-color: %2; border: 1px solid %3; padding: 1px; }\n"
                          "%1:focus { border: 2px solid palette(highlight); padding: 0px; }\n"
                          "%1::indicator:checked { border-style: solid; border-width: 1px; border-color: %3; "
                          "image: url(:/resources/images/%4); }\n"
                          "%1::indicator:unchecked { border-style: solid; border-width: 1px; border-color: %3; }")
        .arg(viewClass, background, border, check);
}

} // namespace Theme
