#include "settings/Statements.h"

namespace Statements {
namespace {
const QByteArray OutputDirKey = "001";
}

QByteArray TextLiteral(const QByteArray& text)
{
    QByteArray doubled = text;
    return '\'' + doubled.replace('\'', "''") + '\'';
}

QByteArray SelectOptionList(const char* table)
{
    return "select cmbex_index,cmbex_name,cmbex_cmd from " + QByteArray(table) + " order by cmbex_index";
}

QByteArray SelectSavedIndex(int tag)
{
    return "select cmbex_index from cmbex_itemindex where cmbex_tag = " + QByteArray::number(tag);
}

QByteArray SelectOptionCommand(const char* table, int position)
{
    return "select cmbex_cmd from " + QByteArray(table) + " where cmbex_index = " + QByteArray::number(position);
}

QByteArray UpdateSavedIndex(int position, int tag)
{
    return "update cmbex_itemindex set cmbex_index = " + QByteArray::number(position)
        + " where cmbex_tag = " + QByteArray::number(tag);
}

QByteArray SelectQualityCommand(const QByteArray& level, const QByteArray& encoder)
{
    return "select cmbex_cmd from cmbex_vdoquality where cmbex_level = " + TextLiteral(level)
        + " and cmbex_encoder = " + TextLiteral(encoder);
}

QByteArray SelectOutputDir()
{
    return "select dir_name from savedir_videofile where dir_numb = " + TextLiteral(OutputDirKey);
}

QByteArray SelectCatalogueVersion() { return "pragma user_version"; }

QByteArray AttachOldCatalogue(const QByteArray& path) { return "attach database " + TextLiteral(path) + " as old"; }

QByteArray CarryOverOutputDir()
{
    const QByteArray old = "(select dir_name from old.savedir_videofile where dir_numb = " + TextLiteral(OutputDirKey) + ")";
    return "update savedir_videofile set dir_name = " + old + " where dir_numb = " + TextLiteral(OutputDirKey)
        + " and " + old + " is not null";
}

QByteArray CarryOverSavedChoice(const char* table, int tag)
{
    const QByteArray name = table;
    const QByteArray entry = "(select fresh.cmbex_index from " + name + " fresh join old." + name
        + " earlier on earlier.cmbex_name = fresh.cmbex_name join old.cmbex_itemindex saved on saved.cmbex_index = "
          "earlier.cmbex_index and saved.cmbex_tag = "
        + QByteArray::number(tag) + ")";
    return "update cmbex_itemindex set cmbex_index = " + entry + " where cmbex_tag = " + QByteArray::number(tag)
        + " and " + entry + " is not null";
}

QByteArray UpdateOutputDir(const QByteArray& folder)
{
    return "update savedir_videofile set dir_name = " + TextLiteral(folder) + " where dir_numb = "
        + TextLiteral(OutputDirKey);
}

} // namespace Statements
