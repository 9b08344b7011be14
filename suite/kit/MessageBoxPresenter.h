#pragma once

#include "suite/session/MessagePresenter.h"

class QMessageBox;

namespace suite {

// The suite's message box: icon and buttons from the style code (16 stop, 32
// question, 48 exclamation, 64 information; plus 0 OK, 1 OK/Cancel, 2
// Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel), the title
// (or "Talvexor"), the prompt, and the component and message id in small
// text. Answers with the platform's codes (1 OK, 2 Cancel, 3 Abort, 4 Retry,
// 5 Ignore, 6 Yes, 7 No).
class MessageBoxPresenter : public MessagePresenter
{
public:
    int show(const MessageRequest &request) override;

    // The box show() would run, not yet shown (for the gallery and tests).
    static QMessageBox *build(const MessageRequest &request);
    // The answer code of one of build()'s buttons.
    static int answerOf(QMessageBox *box);
};

} // namespace suite
