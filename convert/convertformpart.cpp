#include "convertformpart.h"

#include "convertsettingsstore.h"
#include "kivlocalconvertimage.h"
#include "slotsbyname.h"

#include <QWidget>

ConvertFormPart::ConvertFormPart(QWidget *form, ConvertImageFormUi &ui, bool &ready)
    : QObject(form)
    , form(form)
    , ui(ui)
    , ready(ready)
{
}

void ConvertFormPart::connectSlotsByName()
{
    unconnected = SlotsByName::connect(this, form);
    for (const QString &slot : std::as_const(unconnected))
        qWarning("%s: no widget signal for %s", metaObject()->className(), qPrintable(slot));
}

void ConvertFormPart::changeSetting(const QString &key, const std::function<void(ConvertSettings &)> &edit)
{
    if (!ready)
        return;
    ready = false;
    storeSettings({key}, edit);
    emit settingChanged();
    ready = true;
}

void ConvertFormPart::changeOutputOption(const QString &key, const std::function<void(ConvertSettings &)> &edit)
{
    if (ready)
        storeSettings({key}, edit);
}

void ConvertFormPart::storeSettings(const QStringList &keys, const std::function<void(ConvertSettings &)> &edit)
{
    KivLocalConvertImage::editSettings(edit);
    const ConvertSettings s = KivLocalConvertImage::settings();
    for (const QString &key : keys)
        ConvertSettingsStore::save(s, key);
}

QString ConvertFormPart::imageFilesFilter()
{
    return tr("Image Files (*.avif *.gif *.heic *.heif *.jpg *.jpeg *.jxl *.png *.tif *.tiff *.webp)");
}
