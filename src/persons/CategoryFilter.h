#pragma once

#include <QList>
#include <QString>

#include <utility>

// The condition the category filter adds to every search of the browse list. The kind
// is the selector's index: 0 persons and companies, 1 persons, 2 companies. The items
// are the filter list's, each its first field ("P" for the company item, else the
// category's number) with its state; a ticked item includes, a grey one excludes.
// Numbers are taken as whole numbers only, so no text of an item reaches the statement.
// Qualified, the person's own fields are named with their table, for statements that
// join the persons' table twice.
QString BuildCategoryFilter(int kind, const QList<std::pair<QString, Qt::CheckState>> &items, bool qualified = false);
