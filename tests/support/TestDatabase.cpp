#include "TestDatabase.h"

#include "Schema.h"
#include "SchemaInstaller.h"
#include "TestInstallation.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

QString adminUrl()
{
    return TestDatabase::serverFromEnvironment();
}

QUrl withDatabase(const QString &server, const QString &database)
{
    QUrl url(server);
    url.setPath(QLatin1Char('/') + database);
    return url;
}

// Every test process clones one prepared database, made once per schema version.
QString templateName(Database &admin)
{
    const QByteArray version = (Schema::createStatements(SqlDialect::Postgres) + Schema::changeTrackingStatements(SqlDialect::Postgres))
                                   .join(QLatin1Char('\n'))
                                   .toUtf8();
    const QString name = QStringLiteral("veldra_tpl_")
        + QString::fromLatin1(QCryptographicHash::hash(version, QCryptographicHash::Sha1).toHex().left(12));
    // Another test process may be making it meanwhile, for as long as that takes.
    admin.setBusyTimeout(300000);
    admin.runNative(QStringLiteral("SELECT pg_advisory_lock(4242)"));
    QSqlQuery exists = admin.runNative(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(name));
    if (!exists.next()) {
        admin.runNative(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0").arg(name));
        Database fresh(DatabaseLocation::postgresServer(withDatabase(adminUrl(), name).toString()), Database::Purpose::Install);
        SchemaInstaller::install(fresh);
    }
    admin.runNative(QStringLiteral("SELECT pg_advisory_unlock(4242)"));
    return name;
}

}

QString TestDatabase::serverFromEnvironment()
{
    return qEnvironmentVariable("VELDRA_TEST_PG");
}

TestDatabase::TestDatabase(SqlDialect dialect, Content content)
{
    const bool installed = content == Content::Installation;
    if (dialect == SqlDialect::Sqlite) {
        m_location = DatabaseLocation::sqliteFile(m_dir.filePath(QStringLiteral("Veldra_be.mdb")));
        if (installed) {
            QFile::copy(QStringLiteral(VELDRA_TEMPLATE_DB), m_location.file);
            QFile::setPermissions(m_location.file, QFile::ReadOwner | QFile::WriteOwner);
        }
        m_available = true;
        return;
    }
    if (adminUrl().isEmpty())
        return;
    static int counter = 0;
    m_serverDatabase = QStringLiteral("veldra_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    Database admin(DatabaseLocation::postgresServer(adminUrl()), Database::Purpose::Install);
    admin.runNative(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(m_serverDatabase));
    admin.runNative(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2")
                        .arg(m_serverDatabase, installed ? templateName(admin) : QStringLiteral("template0")));
    m_location = DatabaseLocation::postgresServer(withDatabase(adminUrl(), m_serverDatabase).toString());
    m_available = true;
}

TestDatabase::~TestDatabase()
{
    if (m_serverDatabase.isEmpty())
        return;
    try {
        Database admin(DatabaseLocation::postgresServer(adminUrl()), Database::Purpose::Install);
        admin.runNative(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_serverDatabase));
    } catch (...) {
        // A database left behind on a test server does no harm.
    }
}

std::unique_ptr<Database> TestDatabase::connect() const
{
    return std::make_unique<Database>(m_location);
}

void TestDatabase::useIn(TestInstallation &installation) const
{
    if (m_location.dialect == SqlDialect::Sqlite) {
        QFile::remove(installation.databaseFile());
        QFile::copy(m_location.file, installation.databaseFile());
    } else {
        installation.writeIni({{QStringLiteral("Baza"), m_location.server.toString()}});
    }
    installation.restart();
}

void addDialectColumn()
{
    QTest::addColumn<int>("dialect");
}

QTestData &newDialectRow(const QString &name, SqlDialect dialect)
{
    const QString row = name + (dialect == SqlDialect::Sqlite ? QStringLiteral("@sqlite") : QStringLiteral("@postgres"));
    return QTest::newRow(qPrintable(row)) << int(dialect);
}

QList<SqlDialect> allDialects()
{
    return {SqlDialect::Sqlite, SqlDialect::Postgres};
}

void addDialectRows(const QString &name)
{
    addDialectColumn();
    for (const SqlDialect dialect : allDialects())
        newDialectRow(name, dialect);
}

QVariant stored(const Database &database, const QString &sql)
{
    QSqlQuery query = database.run(sql);
    return query.next() ? query.value(0) : QVariant();
}
