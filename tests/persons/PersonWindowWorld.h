#pragma once

#include "PersonsFixture.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "TestInstallation.h"
#include "Typing.h"
#include "UDataMod.h"
#include "UFDUAlarm.h"
#include "UFDUKontakt.h"
#include "UFDUOpomba.h"
#include "UFDodajOsebo.h"
#include "UFVeldra.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <functional>
#include <memory>

// The person window over the fixture's persons, as it is at start.
struct World
{
    // On PostgreSQL only where a server is given (see VELDRA_FETCH_WORLD).
    // The window is made with the layout value given, when one is, and after what
    // beforeWindow sets up (modules, say).
    explicit World(bool withPersons = true, SqlDialect dialect = SqlDialect::Sqlite, const QString &design = QString(),
                   const std::function<void(World &)> &beforeWindow = {})
        : database(dialect)
    {
        if (withPersons)
            insertPersonsFixture(*database.connect());
        database.useIn(installation);
        if (!design.isNull())
            WriteRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("Design"), design);
        dataMod = std::make_unique<TDataMod>();
        AutoShiftNames = true;
        dialog = std::make_unique<TFDodajOsebo>();
        contactDialog = std::make_unique<TFDUKontakt>();
        alarmDialog = std::make_unique<TFDUAlarm>();
        noteDialog = std::make_unique<TFDUOpomba>();
        if (beforeWindow)
            beforeWindow(*this);
        window = std::make_unique<TFVeldra>();
        window->resize(1000, 700);
        window->show();
        // Focus moves as the user's does only in the active window.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    ~World()
    {
        window.reset();
        noteDialog.reset();
        alarmDialog.reset();
        contactDialog.reset();
        dialog.reset();
    }

    template<typename T> T *child(const char *name) const { return window->findChild<T *>(QString::fromLatin1(name)); }
    QStringList browseColumn(int column) const
    {
        QStringList values;
        auto *grid = child<QTableView>("DBGrid1");
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            values << grid->model()->index(row, column).data().toString();
        return values;
    }
    QString current(const char *field) const { return window->QOsebe->value(QString::fromLatin1(field)).toString(); }
    void search(const QString &text) const
    {
        auto *box = child<QLineEdit>("PregledInputText");
        box->clear();
        box->setFocus();
        typeText(box, text);
    }
    void chooseSearch(int index) const
    {
        auto *selector = child<QComboBox>("ComboBox1");
        selector->setCurrentIndex(index);
        Q_EMIT selector->activated(index);
    }
    QVariant stored(const QString &sql) const { return ::stored(dataMod->database(), sql); }

    TestInstallation installation;
    TestDatabase database;
    std::unique_ptr<TDataMod> dataMod;
    std::unique_ptr<TFDodajOsebo> dialog;
    std::unique_ptr<TFDUKontakt> contactDialog;
    std::unique_ptr<TFDUAlarm> alarmDialog;
    std::unique_ptr<TFDUOpomba> noteDialog;
    std::unique_ptr<TFVeldra> window;
};

// In a test with a "dialect" column: the world on that engine, or a skip where it is not here.
// Further arguments are the layout value and what is set up before the window.
#define VELDRA_FETCH_WORLD(world, ...)                                                                                \
    QFETCH(int, dialect);                                                                                              \
    if (SqlDialect(dialect) != SqlDialect::Sqlite && TestDatabase::serverFromEnvironment().isEmpty())                 \
        QSKIP("VELDRA_TEST_PG names no PostgreSQL server");                                                            \
    World world(true, SqlDialect(dialect) __VA_OPT__(, ) __VA_ARGS__)
