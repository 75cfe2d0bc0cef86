// Renews a user's LibFFmpeg.Dat, in the current folder, when the shipped
// catalogue is of a later generation: the user's copy is never replaced by
// the program, so new and mended entries would otherwise never reach them.
// The fresh copy keeps the user's output folder and every saved choice whose
// entry kept its name; the earlier file stays beside it as
// LibFFmpeg.Dat.old. Nothing happens when the user's copy is as new.
//   movarin-renew-catalogue SHIPPED
#include "settings/DataModule.h"
#include "settings/OptionKinds.h"
#include "settings/Statements.h"

#include <QFile>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr char Catalogue[] = "LibFFmpeg.Dat";
constexpr char Renewed[] = "LibFFmpeg.Dat.new";
constexpr char Earlier[] = "LibFFmpeg.Dat.old";

void Run(TSqliteQuery& query, const QByteArray& statement)
{
    query.SQL() = statement;
    query.Execute();
}

int Version(const QByteArray& file)
{
    TSqlDatMod data(TSqlDatMod::DefaultClientLibrary, file);
    Run(data.SqliteQuery, Statements::SelectCatalogueVersion());
    return data.SqliteQuery.FieldAsInteger(0);
}

void CarryOverSettings(const QByteArray& fresh, const QByteArray& earlier)
{
    TSqlDatMod data(TSqlDatMod::DefaultClientLibrary, fresh);
    Run(data.SqliteQuery, Statements::AttachOldCatalogue(earlier));
    Run(data.SqliteQuery, Statements::CarryOverOutputDir());
    for (const OptionKind& kind : OptionKinds)
        Run(data.SqliteQuery, Statements::CarryOverSavedChoice(kind.table, kind.tag));
}

void Replace(const char* from, const char* to)
{
    if (std::rename(from, to) != 0)
        throw std::runtime_error(std::string("cannot rename ") + from + " to " + to);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: %s SHIPPED\n", argv[0]);
        return 64;
    }
    const QByteArray shipped = argv[1];
    try {
        // Opening a missing file would create an empty one.
        if (!QFile::exists(Catalogue) || !QFile::exists(QString::fromLocal8Bit(shipped)))
            return 0;
        if (Version(Catalogue) >= Version(shipped))
            return 0;
        QFile::remove(Renewed);
        if (!QFile::copy(QString::fromLocal8Bit(shipped), Renewed))
            throw std::runtime_error("cannot copy the shipped catalogue");
        QFile::setPermissions(Renewed, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                           | QFileDevice::ReadOther);
        CarryOverSettings(Renewed, Catalogue);
        Replace(Catalogue, Earlier);
        Replace(Renewed, Catalogue);
        std::printf("The option catalogue was renewed; the earlier one is kept as %s.\n", Earlier);
    } catch (const std::exception& error) {
        QFile::remove(Renewed);
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
