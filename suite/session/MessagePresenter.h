#pragma once

#include <QString>

class QWidget;

namespace suite {

// What a screen asks Entorno.Mensaje to show.
struct MessageRequest
{
    QString prompt;
    int style = 0;       // 16 stop, 48 exclamation, 64 information, 36 question (Yes/No)
    QString title;
    QString component;   // "XB733"
    QString id;          // "ERR-ID:7500002"
    QWidget *owner = nullptr;
};

// Shows a message and returns the answer: 6 Yes, 7 No for questions, 1 (OK)
// otherwise. Replaceable so tests and the scripted host record and answer.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    virtual int show(const MessageRequest &request) = 0;
};

} // namespace suite
