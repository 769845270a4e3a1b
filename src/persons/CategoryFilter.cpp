#include "CategoryFilter.h"

QString BuildCategoryFilter(int kind, const QList<std::pair<QString, Qt::CheckState>> &items, bool qualified)
{
    const QString table = qualified ? QStringLiteral("TOsnovniPod.") : QString();
    QString kindCondition;
    if (kind == 1)
        kindCondition = QStringLiteral("(Not %1PravnaOseba)").arg(table);
    else if (kind == 2)
        kindCondition = QStringLiteral("(%1PravnaOseba)").arg(table);
    const auto append = [](QString &list, const QString &condition, const QString &joiner) {
        list += (list.isEmpty() ? QString() : joiner) + condition;
    };
    QString include, exclude;
    for (const auto &[first, state] : items) {
        if (state == Qt::Unchecked)
            continue;
        if (first == QLatin1String("P")) {
            append(kindCondition,
                   state == Qt::Checked ? QStringLiteral("(%1Podjetje=\"True\")").arg(table)
                                        : QStringLiteral("(NOT %1Podjetje=\"True\")").arg(table),
                   QStringLiteral(" AND "));
            continue;
        }
        bool ok = false;
        const int category = first.toInt(&ok);
        if (!ok || category <= 0)
            continue;
        append(state == Qt::Checked ? include : exclude, QStringLiteral("(IDkat=%1)").arg(category), QStringLiteral(" OR "));
    }
    if (!kindCondition.isEmpty())
        kindCondition = QLatin1Char('(') + kindCondition + QLatin1Char(')');
    if (!include.isEmpty())
        include = QLatin1Char('(') + include + QLatin1Char(')');
    if (!exclude.isEmpty()) {
        exclude = QStringLiteral("(NOT (") + exclude + QStringLiteral("))");
        const QString passing = QStringLiteral("((IDkat Is Null) OR ") + exclude + QLatin1Char(')');
        include = include.isEmpty() ? passing : include + QStringLiteral(" AND ") + passing;
    }
    if (!kindCondition.isEmpty())
        include = include.isEmpty() ? kindCondition : include + QStringLiteral(" AND (") + kindCondition + QLatin1Char(')');
    return include;
}
