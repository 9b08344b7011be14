#pragma once

#include "suite/session/SearchPresenter.h"

namespace suite {

// Opens the search dialog modally and answers the chosen key ("" when the
// user cancelled or the query cannot be run).
class SearchDialogPresenter : public SearchPresenter
{
public:
    QString choose(const QString &queryId, int maxRows, QWidget *owner) override;
};

} // namespace suite
