#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

// One search the person window offers: its statement (with the filter placeholder
// "//UsedFilter//"), the two columns of the browse list and the field the typed text is
// matched against. Built-in searches have no module.
struct SearchDefinition
{
    int ID = 0;
    QString SQL;
    QString Col1_FieldName;
    QString Col1_FieldTitle;
    int Col1_Alignment = 0; // 0 left, 1 centred, 2 right
    bool Col1_Visible = true;
    QString Col2_FieldName;
    QString Col2_FieldTitle;
    int Col2_Alignment = 0;
    bool Col2_Visible = true;
    QString SearchByFieldName;
    int FromPluginIndex = -1;
    QString FromPluginIntCom;
    // The values the statement names as parameters (a module's texts are never pasted in).
    QVariantMap Parameters;
};

// The eleven built-in searches, numbers 0 to 10.
QList<SearchDefinition> BuiltInSearches();
// Their selector items: "caption;number;image;kind" (kind 0: a built-in search).
QStringList BuiltInSearchItems();

// A link module's search: its keyword rows of TSharingProgsQuery for the query command,
// with the persons they are tied to, each keyword once.
SearchDefinition ModuleSearch(int id, int moduleIndex, const QString &columnTitle, const QString &queryCommand,
                              const QString &progId);

// The statement with the filter put in place of "//UsedFilter//" (without regard to case).
QString WithFilter(const QString &sql, const QString &filterExpression);
