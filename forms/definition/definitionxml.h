#pragma once

// The names the stored window definition's XML gives its value types; shared by its reader and its
// writer.

#include <QString>

namespace forms::definitionxml {

inline const QString TypeInteger = QStringLiteral("integer");
inline const QString TypeLong = QStringLiteral("long");
inline const QString TypeBoolean = QStringLiteral("boolean");
inline const QString TypeString = QStringLiteral("string");
inline const QString TypeFont = QStringLiteral("font");
inline const QString TypePicture = QStringLiteral("picture");

} // namespace forms::definitionxml
