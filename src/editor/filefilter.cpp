#include "filefilter.h"

namespace kt63 {

QStringList ToNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == "*.*")
                pattern = "*";
        filters.append(parts[i] + " (" + patterns.join(u' ') + ")");
    }
    return filters;
}

} // namespace kt63
