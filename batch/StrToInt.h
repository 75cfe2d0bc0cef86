#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

// A text that should have been a whole number and was not.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a decimal integer with an optional sign and nothing else around it.
// Throws EConvertError "'<text>' is not a valid integer value" otherwise,
// also when the value does not fit an int.
int StrToInt(const QByteArray& text);
inline int StrToInt(const QString& text) { return StrToInt(text.toUtf8()); }
