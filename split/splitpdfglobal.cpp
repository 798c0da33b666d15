#include "splitpdfglobal.h"

namespace {

struct SplitState {
    QString loadPath;
    QString outputPath;
    QString currentPdfPath;
    int pageCount = 0;
};

SplitState &state()
{
    static SplitState instance;
    return instance;
}

} // namespace

namespace SplitPDFGlobal {

QString loadPath()
{
    return state().loadPath;
}

void setLoadPath(const QString &path)
{
    state().loadPath = path;
}

QString outputPath()
{
    return state().outputPath;
}

void setOutputPath(const QString &path)
{
    state().outputPath = path;
}

QString currentPdfPath()
{
    return state().currentPdfPath;
}

void setCurrentPdfPath(const QString &path)
{
    state().currentPdfPath = path;
}

int pageCount()
{
    return state().pageCount;
}

void setPageCount(int count)
{
    state().pageCount = count;
}

} // namespace SplitPDFGlobal
