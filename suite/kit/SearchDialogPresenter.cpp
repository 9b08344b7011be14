#include "suite/kit/SearchDialogPresenter.h"

#include "suite/data/SuiteError.h"
#include "suite/kit/MessageBoxPresenter.h"
#include "suite/kit/SearchDialog.h"
#include "suite/session/Session.h"

using namespace Qt::StringLiterals;

namespace suite {

QString SearchDialogPresenter::choose(const QString &queryId, int maxRows, QWidget *owner)
{
    try {
        Session &session = Session::current();
        SearchDialog dialog(session.connection(), queryId, maxRows, owner ? owner->window() : nullptr);
        for (const Session::SearchAction &action : session.searchActions(queryId))
            dialog.addAction(action.caption, action.run);
        if (dialog.exec() != QDialog::Accepted)
            return QString();
        return dialog.chosenKey();
    } catch (const SuiteError &error) {
        // The user asked for a search: say why there is none.
        MessageRequest request;
        request.prompt = error.description();
        request.style = 48;
        request.title = u"Búsqueda"_s;
        request.owner = owner;
        Session *session = Session::currentOrNull();
        if (session && session->messages()) {
            session->messages()->show(request);
        } else {
            MessageBoxPresenter boxes;
            boxes.show(request);
        }
        return QString();
    }
}

} // namespace suite
