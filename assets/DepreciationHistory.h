#pragma once

#include <QString>

namespace xb733 {

class AssetScreen;

// The asset's postings in the accounting and the tax book, one list each,
// numbered from 1 in the order the database returns them; cancelled postings
// are never shown.
class DepreciationHistory
{
public:
    explicit DepreciationHistory(const AssetScreen &screen);

    void fill(const QString &key);
    void clear();

private:
    void fillList(const QString &list, const QString &statement);

    const AssetScreen &m_screen;
};

} // namespace xb733
