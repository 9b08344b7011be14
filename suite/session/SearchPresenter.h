#pragma once

#include <QString>

class QWidget;

namespace suite {

// Opens the search dialog of one query id (table Consulta) and returns the
// chosen key, empty when the user chose nothing. Replaceable like messages.
class SearchPresenter
{
public:
    virtual ~SearchPresenter() = default;
    virtual QString choose(const QString &queryId, int maxRows, QWidget *owner) = 0;
};

} // namespace suite
