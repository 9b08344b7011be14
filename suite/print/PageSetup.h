#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

namespace suite {

// Pages as formats and labels name them.
class PageSetup
{
public:
    // "Letter", "A4", "Legal" or any other of Qt's page keys, in any case;
    // "Carta" for Letter; "WxH" in millimetres ("100x50"); empty: Letter.
    // SuiteError for anything else.
    static QPageSize pageSize(const QString &name);

    // Portrait whatever the page's proportions (a wide label stays wide);
    // SuiteError when the margins leave no room to print.
    static QPageLayout layout(const QPageSize &size, const QMarginsF &marginsMm);
};

} // namespace suite
