#include "ChildProcess.h"

#include <QCoreApplication>
#include <QHash>
#include <QProcess>

namespace {

const char *const EntryVariable = "LD_TEST_CHILD";

QHash<QString, ChildEntry> &entries()
{
    static QHash<QString, ChildEntry> registered;
    return registered;
}

} // namespace

bool registerChildEntry(const QString &name, const ChildEntry &entry)
{
    entries().insert(name, entry);
    return true;
}

ChildEnd runChild(const QString &name, const QStringList &arguments)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(EntryVariable), name);
    environment.remove(QStringLiteral("GTEST_SHARD_INDEX"));
    environment.remove(QStringLiteral("GTEST_TOTAL_SHARDS"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    ChildEnd end;
    if (!child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished();
    }
    end.crashed = child.exitStatus() == QProcess::CrashExit;
    end.exitCode = child.exitCode();
    end.output = QString::fromLocal8Bit(child.readAllStandardOutput());
    end.errors = QString::fromLocal8Bit(child.readAllStandardError());
    return end;
}

std::optional<int> runChildEntryIfAsked(int argc, char **argv)
{
    const QString name = qEnvironmentVariable(EntryVariable);
    if (name.isEmpty())
        return std::nullopt;
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const auto entry = entries().constFind(name);
    return entry == entries().constEnd() ? 99 : (*entry)(arguments);
}
