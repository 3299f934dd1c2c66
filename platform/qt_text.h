// Conversion between code page 936 texts and Qt's UTF-16 strings. Thread-safe.
#pragma once

#include <QString>

#include "text/text.h"

namespace platform {

QString ToQString(const Text& text);
Text FromQString(const QString& string);

}  // namespace platform
