#pragma once
// The SQL layout derived from a table declaration. Each field is a column named
// after the field; each string field that takes part in a key has a sort-key
// column "k_<name>" beside it; each memo is a column; "ver" counts the changes
// of a row for change detection. Each key is an index over the sort-key and
// number columns; an optional key is a partial index that leaves out records
// whose components are all blank or zero. All SQL is built from declarations.
#include "platform/storage/tabledecl.h"

#include <QStringList>

namespace cx::schema {

QString quoted(const QString &identifier);
QString sortKeyColumn(const QString &field);
// "Name TYPE" pairs in table order, as the engine reports them for the table.
QStringList columnDefinitions(const TableDecl &decl);
QString createTable(const TableDecl &decl, const QString &sqlName);
QString indexName(const TableDecl &decl, int key);
QStringList createIndexes(const TableDecl &decl);
// The columns that order a key, in order (sort-key columns for strings).
QStringList keyColumns(const TableDecl &decl, int key);
// Empty for keys that are not optional; else the condition every query of the key repeats.
QString optionalCondition(const TableDecl &decl, int key);
// All columns a read selects, in the order Table reads them: fields, memos.
QStringList dataColumns(const TableDecl &decl);
QStringList sortKeyFields(const TableDecl &decl); // keyed string fields, in field order

QString structureTable();
QString createStructureTable();

// Each table's record count, kept by triggers on every add and delete (by
// this program, another copy or the sqlite3 shell alike), so that a count
// never reads the table.
QString createCountsTable();
QStringList countTriggerNames(const TableDecl &decl);
QStringList createCountTriggers(const TableDecl &decl);
QString literal(const QString &text); // a quoted SQL string literal

} // namespace cx::schema
