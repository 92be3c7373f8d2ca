#include "TestEnv.h"

#include "HomeDir.h"
#include "SqlQuery.h"

#include <QDir>
#include <QSettings>
#include <QtTest>

void RedirectSettings(const QString &dir)
{
    QDir().mkpath(dir + QStringLiteral("/user"));
    QDir().mkpath(dir + QStringLiteral("/system"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir + QStringLiteral("/user"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, dir + QStringLiteral("/system"));
    qputenv("XDG_CONFIG_HOME", (dir + QStringLiteral("/user")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", (dir + QStringLiteral("/system")).toUtf8());
}

TestEnv::TestEnv(bool withDatabase)
{
    if (!m_dir.isValid())
        qFatal("no temporary folder");
    RedirectSettings(m_dir.filePath(QStringLiteral("config")));
    m_home = PrepareHomeDir(m_dir.filePath(QStringLiteral("home")));
    m_db = std::make_unique<Database>(QStringLiteral("test-%1").arg(quintptr(this)));
    if (withDatabase)
        m_db->open(DataDirOf(m_home));
    m_state = std::make_unique<AppState>(*m_db, m_dialogs, m_home);
}

TestEnv::~TestEnv()
{
    m_state.reset();
    m_db.reset();
}

QString TestEnv::home() const
{
    return m_home;
}

QString TestEnv::dataDir() const
{
    return DataDirOf(m_home);
}

QString TestEnv::path(const QString &relative) const
{
    return QDir(m_home).filePath(relative);
}

QStringList TestEnv::column(const QString &sql)
{
    SqlQuery q(*m_db);
    q.open(sql);
    QStringList out;
    for (; !q.eof(); q.next())
        out << q.fieldAt(0);
    return out;
}

QString TestEnv::scalar(const QString &sql)
{
    const QStringList c = column(sql);
    return c.isEmpty() ? QString() : c.first();
}

void TestEnv::exec(const QString &sql)
{
    SqlQuery q(*m_db);
    q.execSql(sql);
}
