#pragma once
// The ID proposal of the record dialog: the trailing number of the highest
// stored ID, increased by one with its width kept (A009 -> A010, id9 -> id10).
// Trailing numbers compare as numbers, so id10 is higher than id9.

#include <QString>
#include <QStringList>
#include <functional>

namespace NextId {

// The ID after `id`: its trailing number plus one, or "1" appended.
QString After(const QString &id);

// The highest of the IDs: the text before the trailing number in text order,
// then the trailing number by value. Empty for an empty list.
QString Highest(const QStringList &ids);

// The proposal for a table holding `ids` ("id0" for none); IDs for which
// `exists` says yes are skipped.
QString Suggest(const QStringList &ids, const std::function<bool(const QString &)> &exists);

} // namespace NextId
