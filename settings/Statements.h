#pragma once

#include <QByteArray>

// The texts of every statement the program runs. Values are written into the
// text: numbers in decimal, text as a quoted literal.
namespace Statements {

QByteArray TextLiteral(const QByteArray& text);

QByteArray SelectOptionList(const char* table);
QByteArray SelectSavedIndex(int tag);
QByteArray SelectOptionCommand(const char* table, int position);
QByteArray UpdateSavedIndex(int position, int tag);
QByteArray SelectQualityCommand(const QByteArray& level, const QByteArray& encoder);
QByteArray SelectOutputDir();

// The catalogue's generation, raised whenever its entries change meaning.
QByteArray SelectCatalogueVersion();
// Carrying a user's settings from an older catalogue, attached as "old",
// into a fresh one: the output folder as it is, and a saved choice where an
// entry of the same name is still there.
QByteArray AttachOldCatalogue(const QByteArray& path);
QByteArray CarryOverOutputDir();
QByteArray CarryOverSavedChoice(const char* table, int tag);
QByteArray UpdateOutputDir(const QByteArray& folder);

} // namespace Statements
