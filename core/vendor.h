#pragma once

#include <QString>

// The vendor's own values: the one place that defines them.
namespace quelvara::vendor {

inline const QString kAppTitle = QStringLiteral("Quelvara");
inline const QString kProductName = QStringLiteral("Quelvara");
inline const QString kSite = QStringLiteral("http://www.quelvara.com.br");
inline const QString kContactEmail = QStringLiteral("contato@quelvara.com.br");
inline const QString kPhone = QStringLiteral("(31) 3555-0142");

} // namespace quelvara::vendor
