// A program run as a person runs it, for the tests that watch programs from outside.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>

struct ProgramRun {
    int exitCode = -1; // -1: it crashed or did not finish in time
    QString out;
    QString err; // empty when the channels are merged into `out`
};

inline ProgramRun
RunProgram(const QString& program, const QStringList& args,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
           bool merged = false, int ms = 90000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (merged) {
        process.setProcessChannelMode(QProcess::MergedChannels);
    }
    process.start(program, args);
    if (!process.waitForFinished(ms)) {
        process.kill();
        process.waitForFinished(5000);
        return {-1, QStringLiteral("did not finish"), {}};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
