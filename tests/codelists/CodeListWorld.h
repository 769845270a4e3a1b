#pragma once

#include "Database.h"
#include "TestDatabase.h"
#include "TestInstallation.h"
#include "UDataMod.h"
#include "UFMain.h"

#include <QSqlQuery>

#include <memory>

// An installation with its data module and the main window, for the code-list tests.
struct CodeListWorld
{
    explicit CodeListWorld(const std::function<void(Database &)> &prepare = {})
    {
        if (prepare) {
            auto connection = database.connect();
            prepare(*connection);
        }
        database.useIn(installation);
        dataMod = std::make_unique<TDataMod>();
        main = std::make_unique<TFMain>(MainWindowServices{});
        main->resize(1100, 800);
        main->show();
    }
    QVariant stored(const QString &sql) const { return ::stored(dataMod->database(), sql); }

    TestInstallation installation;
    TestDatabase database{SqlDialect::Sqlite};
    std::unique_ptr<TDataMod> dataMod;
    std::unique_ptr<TFMain> main;
};
