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
QByteArray UpdateOutputDir(const QByteArray& folder);

} // namespace Statements
