// Writes the inputs of the split, merge and protect benchmarks.
//   ff-pdfdoc-corpus <folder>
#include "benchcorpus.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv); // fonts for the text pages
    if (argc != 2) {
        std::fprintf(stderr, "usage: ff-pdfdoc-corpus <folder>\n");
        return 2;
    }
    return BenchCorpus::writeDocumentCorpus(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
