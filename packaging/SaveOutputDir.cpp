// Saves an output folder in LibFFmpeg.Dat of the current folder with the
// same statement the program runs when the user picks one. The launcher runs
// it once, on a fresh copy of the catalogue, so that a user's first start
// already points at their own videos folder.
#include "settings/DataModule.h"
#include "settings/Statements.h"

#include <cstdio>
#include <stdexcept>

namespace {

void Run(TSqliteQuery& query, const QByteArray& statement)
{
    query.SQL() = statement;
    query.Execute();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 64;
    }
    const QByteArray folder = argv[1];
    try {
        TSqlDatMod data;
        Run(data.SqliteQuery, Statements::UpdateOutputDir(folder));
        // An update that matches no row succeeds without a word; reading the
        // row back tells a catalogue without it from one that kept the folder.
        Run(data.SqliteQuery, Statements::SelectOutputDir());
        if (data.SqliteQuery.FieldAsString(0) != folder)
            throw std::runtime_error("LibFFmpeg.Dat has no output folder row");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
