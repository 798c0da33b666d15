#pragma once

#include <QList>
#include <QString>

// The output formats the target list offers, in list order.
namespace ConvertTargets {

struct Target {
    QString name;      // "PDF", "JPG", ...
    QString extension; // ".pdf", ".jpg", ...
};

// "PDF" alone in the PDF edition; the image formats and "PDF" otherwise.
QList<Target> offered();

// Position of `name` in offered(), -1 when the edition does not offer it.
int indexOf(const QString &name);

} // namespace ConvertTargets
