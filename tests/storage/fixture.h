#pragma once
// A small table declaration that exercises every kind of field and key.
#include "platform/storage/tabledecl.h"

#include <QDir>
#include <QTemporaryDir>

inline cx::TableDecl peopleDecl()
{
    using namespace cx;
    TableDecl t;
    t.label = QStringLiteral("People");
    t.prefix = QStringLiteral("PEO");
    t.fileName = QStringLiteral("people");
    t.fields = {{QStringLiteral("Name"), FieldType::String, 20},
                {QStringLiteral("City"), FieldType::String, 40},
                {QStringLiteral("Age"), FieldType::Byte, 1},
                {QStringLiteral("Score"), FieldType::Long, 4},
                {QStringLiteral("Num"), FieldType::Decimal, 6}};
    KeyDecl num{QStringLiteral("KeyNum"), {QStringLiteral("Num")}, true, true, true};
    KeyDecl byName{QStringLiteral("ByName"), {QStringLiteral("Name"), QStringLiteral("City")}, false, false, false};
    KeyDecl city{QStringLiteral("KeyCity"), {QStringLiteral("City")}, true, true, false};
    KeyDecl byAge{QStringLiteral("ByAge"), {QStringLiteral("Age"), QStringLiteral("Name")}, false, true, false};
    t.keys = {num, byName, city, byAge};
    t.memos = {{QStringLiteral("Notes"), 100}};
    return t;
}
