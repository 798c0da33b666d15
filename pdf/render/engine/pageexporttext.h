#pragma once

#include <QCoreApplication>

// The translation context of the export messages.
class PageExportText
{
    Q_DECLARE_TR_FUNCTIONS(PageExportText)
};
