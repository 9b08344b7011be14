// Runs the statements a screen command sent, on a SQLite file, through
// libsqlite3 alone: no Qt, no driver, no screen. The floor a command's own
// share is measured against. (The sqlite3 shell's timer shows whole
// milliseconds, too coarse for statements of tens of microseconds.)
//
//   bench_floor DB_FILE SCRIPT
//
// SCRIPT holds records separated by the byte 0x1E. A record starting with
// 'T' is a statement to time, 'U' one run untimed (undoing what a replayed
// command wrote, so that the next replay finds the database as the command
// did), and 'E' ends a replay. For every replay one line is printed: the
// microseconds its timed statements took, prepared, stepped to the last row
// and finalised. Any failing statement stops the run with its error.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The suite registers this routine on every connection; its look-ups (one
// by key per level of the chart of accounts) are what a statement using it
// costs, so the floor does the same.
void accountPath(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3 *db = sqlite3_context_db_handle(context);
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT Cc_Descripcion, Cc_Cuenta_Padre FROM Cuenta_Contable "
                           "WHERE Cc_Cve_Cuenta_Contable = ?1",
                           -1, &stmt, nullptr)
        != SQLITE_OK) {
        sqlite3_result_error(context, sqlite3_errmsg(db), -1);
        return;
    }
    std::string account = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    std::string path;
    for (int depth = 0; !account.empty() && depth < 64; ++depth) {
        sqlite3_reset(stmt);
        sqlite3_bind_text(stmt, 1, account.c_str(), int(account.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) != SQLITE_ROW)
            break;
        const auto *description = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        const auto *parent = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1));
        path = std::string(description ? description : "") + (path.empty() ? "" : " / ") + path;
        account = parent ? parent : "";
    }
    sqlite3_finalize(stmt);
    sqlite3_result_text(context, path.c_str(), int(path.size()), SQLITE_TRANSIENT);
}

bool run(sqlite3 *db, const std::string &statement)
{
    const char *tail = statement.c_str();
    while (*tail) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, tail, -1, &stmt, &tail) != SQLITE_OK) {
            std::fprintf(stderr, "bench_floor: %s\n  in: %s\n", sqlite3_errmsg(db), statement.c_str());
            return false;
        }
        if (!stmt)
            continue; // blanks or a comment after the last statement
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) {
            std::fprintf(stderr, "bench_floor: %s\n  in: %s\n", sqlite3_errmsg(db), statement.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_floor DB_FILE SCRIPT\n");
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    const std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> records;
    for (std::size_t at = 0; at < script.size();) {
        const std::size_t end = std::min(script.find('\x1e', at), script.size());
        if (end > at)
            records.push_back(script.substr(at, end - at));
        at = end + 1;
    }

    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "bench_floor: %s: %s\n", argv[1], sqlite3_errmsg(db));
        return 1;
    }
    // As the suite's connection: wait for another writer's lock.
    sqlite3_busy_timeout(db, 10000);
    sqlite3_create_function_v2(db, "Get_Ruta_Cuenta_Contable", 1, SQLITE_UTF8, nullptr, accountPath, nullptr,
                               nullptr, nullptr);

    using Clock = std::chrono::steady_clock;
    Clock::duration timed{};
    for (const std::string &record : records) {
        const char kind = record.front();
        if (kind == 'E') {
            std::printf("%lld\n",
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(timed).count()));
            timed = {};
            continue;
        }
        const auto start = Clock::now();
        if (!run(db, record.substr(1))) {
            sqlite3_close(db);
            return 1;
        }
        if (kind == 'T')
            timed += Clock::now() - start;
    }
    sqlite3_close(db);
    return 0;
}
