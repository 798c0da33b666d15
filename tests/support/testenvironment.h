#pragma once

#include <QString>

namespace TestEnvironment {
// Empties the per-test HOME that CTest points the test at and switches
// QStandardPaths to its test locations. Call first in initTestCase().
void isolate();

// Path of an external tool, or an empty string when it is not installed.
QString tool(const QString &name);

// Runs a tool and returns its standard output; fails the current test when
// it does not exit with 0.
QByteArray run(const QString &program, const QStringList &arguments);

// Whether this process or one of its render workers holds `path` open (Linux:
// the links under /proc/<pid>/fd).
bool fileIsOpen(const QString &path);
} // namespace TestEnvironment
