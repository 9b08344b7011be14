#include "suite/kit/MessageBoxPresenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

const char *const AnswerProperty = "talvexorAnswer";

void addButton(QMessageBox *box, QMessageBox::StandardButton which, const QString &text, int answer, bool isDefault = false)
{
    QPushButton *b = box->addButton(which);
    b->setText(text);
    b->setProperty(AnswerProperty, answer);
    if (isDefault)
        box->setDefaultButton(b);
}

} // namespace

QMessageBox *MessageBoxPresenter::build(const MessageRequest &request)
{
    auto *box = new QMessageBox(request.owner);
    box->setWindowTitle(request.title.isEmpty() ? u"Talvexor"_s : request.title);
    box->setText(request.prompt);
    box->setTextFormat(Qt::PlainText);

    switch (request.style & 0x70) {
    case 16: box->setIcon(QMessageBox::Critical); break;
    case 32: box->setIcon(QMessageBox::Question); break;
    case 48: box->setIcon(QMessageBox::Warning); break;
    case 64: box->setIcon(QMessageBox::Information); break;
    default: box->setIcon(QMessageBox::NoIcon); break;
    }

    // Which button is the default: 0 first, 256 second, 512 third.
    const int defaultIndex = (request.style & 0x300) >> 8;
    struct Choice { QMessageBox::StandardButton which; QString text; int answer; };
    QList<Choice> choices;
    switch (request.style & 0x7) {
    case 1: choices = {{QMessageBox::Ok, u"Aceptar"_s, 1}, {QMessageBox::Cancel, u"Cancelar"_s, 2}}; break;
    case 2: choices = {{QMessageBox::Abort, u"Anular"_s, 3}, {QMessageBox::Retry, u"Reintentar"_s, 4},
                       {QMessageBox::Ignore, u"Omitir"_s, 5}}; break;
    case 3: choices = {{QMessageBox::Yes, u"Sí"_s, 6}, {QMessageBox::No, u"No"_s, 7},
                       {QMessageBox::Cancel, u"Cancelar"_s, 2}}; break;
    case 4: choices = {{QMessageBox::Yes, u"Sí"_s, 6}, {QMessageBox::No, u"No"_s, 7}}; break;
    case 5: choices = {{QMessageBox::Retry, u"Reintentar"_s, 4}, {QMessageBox::Cancel, u"Cancelar"_s, 2}}; break;
    default: choices = {{QMessageBox::Ok, u"Aceptar"_s, 1}}; break;
    }
    for (int i = 0; i < choices.size(); ++i)
        addButton(box, choices.at(i).which, choices.at(i).text, choices.at(i).answer, i == defaultIndex);
    // Esc answers the cancel button, or No for a question, or the only button.
    for (QAbstractButton *b : box->buttons()) {
        const int answer = b->property(AnswerProperty).toInt();
        if (answer == 2 || (answer == 7 && !box->escapeButton()) || choices.size() == 1)
            box->setEscapeButton(b);
    }
    if (box->defaultButton() == nullptr && !box->buttons().isEmpty())
        box->setDefaultButton(qobject_cast<QPushButton *>(box->buttons().constFirst()));

    // Support quotes the component and the message id: shown small, under the text.
    QStringList origin;
    if (!request.component.isEmpty())
        origin << request.component;
    if (!request.id.isEmpty())
        origin << request.id;
    if (!origin.isEmpty())
        box->setInformativeText(u"<small style=\"color:#606060\">"_s + origin.join(u" · "_s).toHtmlEscaped()
                                + u"</small>"_s);
    return box;
}

int MessageBoxPresenter::answerOf(QMessageBox *box)
{
    QAbstractButton *clicked = box->clickedButton();
    if (!clicked) {
        // Closed with Esc or the window's close button: the cancel answer
        // when there is one, otherwise the only button's.
        const QList<QAbstractButton *> buttons = box->buttons();
        for (QAbstractButton *b : buttons) {
            if (b->property(AnswerProperty).toInt() == 2)
                return 2;
        }
        return buttons.size() == 1 ? buttons.constFirst()->property(AnswerProperty).toInt() : 2;
    }
    return clicked->property(AnswerProperty).toInt();
}

int MessageBoxPresenter::show(const MessageRequest &request)
{
    QMessageBox *box = build(request);
    box->exec();
    const int answer = answerOf(box);
    delete box;
    return answer;
}

} // namespace suite
