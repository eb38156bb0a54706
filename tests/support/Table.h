#pragma once

#include <QTest>
#include <tuple>

// Test tables, one line a row: columns<QString, int>("text", "count") declares the columns,
// row(name, values...) adds a row (a text literal goes into a QString column), and
// fetch<QString, int>("text", "count") gives the current row's values, as QFETCH would.
template <typename... Types, typename... Names> void columns(const Names&... names)
{
    (QTest::addColumn<Types>(names), ...);
}

template <typename... Values> void row(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}

template <typename... Types, typename... Names> std::tuple<Types...> fetch(const Names&... names)
{
    return {*static_cast<Types*>(QTest::qData(names, qMetaTypeId<Types>()))...};
}
