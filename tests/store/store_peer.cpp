// Another copy of the program on the same catalogue, running the record
// services, for the tests that need two processes.
#include "store/autonumber.h"
#include "store/opentable.h"
#include "store/program.h"
#include "store/recordservices.h"

#include <QCoreApplication>

#include <cstdio>

using namespace cx;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    ScriptedPrompter prompter;
    Program program(args.at(2), prompter);
    for (TableId id : allTables())
        if (!openTable(program, id))
            return 3;
    const QString mode = args.at(1);
    if (mode == QLatin1String("insert-categories")) { // insert-categories <db> <count> <name prefix>
        Table &cat = program.table(TableId::Categories);
        const int count = args.at(3).toInt();
        for (int i = 0; i < count; ++i) {
            cat.clear();
            cat.buffer().set(QStringLiteral("CAT:Category"), QString(args.at(4) + QString::number(i)));
            if (!addWithNextNumber(program, TableId::Categories))
                return 4;
        }
    } else if (mode == QLatin1String("rename-category")) { // rename-category <db> <id> <name>
        Table &cat = program.table(TableId::Categories);
        cat.clear();
        cat.buffer().set(QStringLiteral("CAT:CategoryID"), args.at(3).toLongLong());
        if (cat.get(0) != StorageCode::NoError)
            return 5;
        program.remembered(TableId::Categories) = cat.buffer();
        cat.buffer().set(QStringLiteral("CAT:Category"), args.at(4));
        if (ruleUpdate(program, TableId::Categories) != ServiceDone)
            return 6;
    } else if (mode == QLatin1String("rename-media")) { // rename-media <db> <old> <new>
        Table &media = program.table(TableId::Media);
        media.clear();
        media.buffer().set(QStringLiteral("MED:Media"), args.at(3));
        if (media.get(0) != StorageCode::NoError)
            return 5;
        program.remembered(TableId::Media) = media.buffer();
        media.buffer().set(QStringLiteral("MED:Media"), args.at(4));
        std::printf("ready\n");
        std::fflush(stdout);
        if (ruleUpdate(program, TableId::Media) != ServiceDone)
            return 6;
    }
    return prompter.shown.isEmpty() ? 0 : 7;
}
