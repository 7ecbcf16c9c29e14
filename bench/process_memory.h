// The resident size of the benchmark's own process, for counters of how much a case made it grow,
// and its peak since a given moment.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A size in KiB from the process's status, "VmRSS:" or "VmHWM:" (0 when it cannot be read).
inline long HxStatusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const qsizetype length = qsizetype(qstrlen(field));
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(length).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The resident size of the process in KiB.
inline long HxResidentKb() {
    return HxStatusKb("VmRSS:");
}

// The peak resident size in KiB since the process started or since HxResetPeakResident.
inline long HxPeakResidentKb() {
    return HxStatusKb("VmHWM:");
}

// Starts the peak anew from the present resident size (where the kernel allows it).
inline void HxResetPeakResident() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
