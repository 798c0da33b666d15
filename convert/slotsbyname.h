#pragma once

#include <QStringList>

class QObject;

namespace SlotsByName {

// Connects every slot of `receiver` named on_<object>_<signal> to that signal
// of the object so named among `widgets` and its descendants, as Qt's
// connectSlotsByName does for a form's own slots; here the slots may live in
// a helper object that owns some of the form's widgets. A signal with the
// slot's exact parameter list is preferred, else the first one of that name
// whose parameters begin with the slot's. Returns the slots that found no
// signal.
QStringList connect(QObject *receiver, const QObject *widgets);

} // namespace SlotsByName
