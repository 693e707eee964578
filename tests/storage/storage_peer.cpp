// Another copy of the program working on the same catalogue, for the tests:
// holds the write lock for a while, changes a row behind the test's back, or
// dies in the middle of a transaction.
#include <sqlite3.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

static void run(sqlite3 *db, const std::string &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "peer: %s: %s\n", sql.c_str(), err ? err : "?");
        std::exit(3);
    }
}

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const std::string mode = argv[1];
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(argv[2], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 4;
    sqlite3_busy_timeout(db, 5000);
    if (mode == "hold" || mode == "hold-exclusive") { // hold <db> <ms>
        if (mode == "hold-exclusive")
            run(db, "PRAGMA locking_mode=EXCLUSIVE");
        run(db, "BEGIN IMMEDIATE");
        run(db, "UPDATE cx_structure SET version=version");
        if (mode == "hold-exclusive")
            run(db, "SELECT count(*) FROM sqlite_master"); // takes the exclusive lock now
        std::printf("ready\n");
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[3])));
        run(db, "COMMIT");
    } else if (mode == "sql") { // sql <db> <statement>
        run(db, argv[3]);
    } else if (mode == "crash") { // crash <db> <statement>: dies inside a transaction
        run(db, "BEGIN IMMEDIATE");
        run(db, argv[3]);
        std::printf("ready\n");
        std::fflush(stdout);
        std::raise(SIGKILL);
    }
    sqlite3_close(db);
    return 0;
}
