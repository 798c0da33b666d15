#include "slotsbyname.h"

#include <QMetaMethod>
#include <QObject>

namespace SlotsByName {
namespace {

// The signal of `sender` that a slot with signature "<signal>(<args>)" takes.
QMetaMethod matchingSignal(const QObject *sender, const QByteArray &signature)
{
    const QMetaObject *meta = sender->metaObject();
    const int exact = meta->indexOfSignal(signature.constData());
    if (exact >= 0)
        return meta->method(exact);
    // "clicked()" takes "clicked(bool)": the same name, more parameters.
    const QByteArray open = signature.left(signature.size() - 1);
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal && method.methodSignature().startsWith(open))
            return method;
    }
    return {};
}

} // namespace

QStringList connect(QObject *receiver, const QObject *widgets)
{
    QList<const QObject *> candidates{widgets};
    for (const QObject *child : widgets->findChildren<QObject *>())
        candidates.append(child);
    QStringList unmatched;
    const QMetaObject *meta = receiver->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod slot = meta->method(i);
        const QByteArray signature = slot.methodSignature();
        if (slot.methodType() != QMetaMethod::Slot || !signature.startsWith("on_"))
            continue;
        bool connected = false;
        for (const QObject *candidate : std::as_const(candidates)) {
            const QByteArray name = candidate->objectName().toLatin1();
            if (name.isEmpty() || !signature.mid(3).startsWith(name + '_'))
                continue;
            const QMetaMethod signal = matchingSignal(candidate, signature.mid(3 + name.size() + 1));
            if (signal.isValid() && QObject::connect(candidate, signal, receiver, slot)) {
                connected = true;
                break;
            }
        }
        if (connected) {
            // The copies moc makes of a slot with default arguments would
            // connect a second time.
            while (i + 1 < meta->methodCount() && (meta->method(i + 1).attributes() & QMetaMethod::Cloned))
                ++i;
        } else if (!(slot.attributes() & QMetaMethod::Cloned)) {
            unmatched.append(QString::fromLatin1(signature));
        }
    }
    return unmatched;
}

} // namespace SlotsByName
