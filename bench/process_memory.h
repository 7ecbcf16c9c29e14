// The resident size of the benchmark's own process, for counters of how much a case made it grow.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The resident size of the process in KiB (0 when it cannot be read).
inline long HxResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}
