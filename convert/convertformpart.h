#pragma once

#include "convertsettings.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;
struct ConvertImageFormUi;

// One concern of the images form (source list, option tabs, watermark tabs,
// rule rows, preview, run) with the widgets it owns. Its on_<object>_<signal>
// slots are connected by name to the form's widgets; it acts on the user's
// edits only while the form's ready flag is set.
class ConvertFormPart : public QObject
{
    Q_OBJECT
public:
    ConvertFormPart(QWidget *form, ConvertImageFormUi &ui, bool &ready);

    // Gives the widgets this part owns the icons of the colour scheme.
    virtual void refreshTheme() {}
    // Slots named on_<object>_<signal> that found no such widget or signal.
    QStringList unconnectedSlots() const { return unconnected; }

signals:
    // A setting changed: the previews made before are stale.
    void settingChanged();
    // Buttons were enabled or disabled: their icons follow.
    void enabledStateChanged();

protected:
    // Called last in the constructor of each part, once its slots exist.
    void connectSlotsByName();
    // Copies a widget's value into the settings, stores `key` and reports the
    // change; nothing while the form sets its own widgets.
    void changeSetting(const QString &key, const std::function<void(ConvertSettings &)> &edit);
    // The same for a value that only decides where and how pages are written
    // (file name, folder, page layout): previews made before stay true.
    void changeOutputOption(const QString &key, const std::function<void(ConvertSettings &)> &edit);
    static void storeSettings(const QStringList &keys, const std::function<void(ConvertSettings &)> &edit);
    // The open dialogs' filter: every type the tool reads.
    static QString imageFilesFilter();

    QWidget *const form;
    ConvertImageFormUi &ui;
    bool &ready;

private:
    QStringList unconnected;
};
