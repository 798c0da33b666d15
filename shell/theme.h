#pragma once

#include <QString>

class QAbstractButton;
class QAction;
class QLabel;

// The light/dark icon rule every themed form follows.
namespace Theme {

QString imagePath(const QString &fileName); // ":/resources/images/" + fileName

// Enabled: `light` or, in the dark scheme, `dark`; disabled: `disabled` in
// both schemes (buttons that are never disabled pass an empty name).
void applyIcon(QAbstractButton *button, const QString &light, const QString &dark, const QString &disabled = QString());
void applyIcon(QAction *action, const QString &light, const QString &dark);
void applyPixmap(QLabel *label, const QString &light, const QString &dark);

// Style sheet of the check-box list views: white or black background, the
// scheme's check mark and a frame that shows the focus.
QString checkListStyleSheet(const QString &viewClass);

} // namespace Theme
