// CP1252 texts of the core to and from Qt strings.
#pragma once

#include <QString>
#include <string>

#include "text/cp1252.h"

namespace quenda {

inline QString ToQt(const std::string& cp1252) {
  return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

inline std::string FromQt(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

}  // namespace quenda
