#include "suite/data/SuiteError.h"
#include "suite/kit/Frame.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/session/MessagePresenter.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Answers every message with one fixed code, whatever its style.
struct FixedAnswer : suite::MessagePresenter
{
    int show(const suite::MessageRequest &request) override { requests.append(request); return answer; }
    QList<suite::MessageRequest> requests;
    int answer = 1;
};

template<typename T>
T *tagged(QWidget *parent, const QVariant &tag)
{
    auto *control = new T;
    control->setParent(parent);
    control->setProperty("tag", tag);
    return control;
}

} // namespace

// Emptying and enabling the screen's groups of kit controls, nested in its
// frames, and EnviaTecla's TAB moving on, are covered end to end.
class ServiceWidgetsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_previous = suite::Session::currentOrNull();
        m_messages = FixedAnswer();
        m_session.setMessages(&m_messages);
        suite::Session::setCurrent(&m_session);
    }
    void cleanup() { suite::Session::setCurrent(m_previous); }

    // Members by tag: held as a number, with blanks around it, never a group
    // that starts alike. The screen has only kit controls, which empty through
    // their own limpia(); an option button must give up being the selected one.
    void groupsEmptyAndDisableOnlyTheirMembers()
    {
        QWidget form;
        auto *number = tagged<suite::txtKIT>(&form, 1);
        number->setText(u"Laptop"_s);
        auto *frame = tagged<suite::Frame>(&form, u" 1 "_s);
        auto *employee = tagged<suite::OptionButton>(frame, u"1"_s);
        tagged<suite::OptionButton>(frame, u"1"_s);
        employee->setValue(true);
        auto *eleven = tagged<suite::txtKIT>(&form, u"11"_s);
        eleven->setText(u"once"_s);

        suite::Utilerias().LimpiaControles(&form, 1);
        QCOMPARE(number->text(), QString());
        QVERIFY(!employee->isChecked());
        for (QWidget *member : std::initializer_list<QWidget *>{number, frame, employee})
            QVERIFY(!suite::ownEnabled(member));
        QVERIFY(suite::ownEnabled(eleven));
        QCOMPARE(eleven->text(), u"once"_s);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, suite::Utilerias().LimpiaControles(nullptr, 1));
    }

    // What the presenter is shown, and Yes or No to a question, are covered end to end.
    void messagesAnswerByStyle()
    {
        const struct { int style, presenterAnswer, expected; } cases[] = {
            {48, 7, 1},   // an exclamation ignores odd answers
            {36, 2, 7},   // a question closed unanswered is a No
            {35, 2, 2},   // Yes/No/Cancel keeps Cancel
        };
        for (const auto &c : cases) {
            m_messages.answer = c.presenterAnswer;
            QCOMPARE(suite::Entorno().Mensaje(u"¿Desea generar una nueva clave?"_s, c.style, u"Talvexor"_s, 0,
                                              u"XB733"_s, u"ERR-ID:7500001"_s), c.expected);
        }
    }

    void messageOwnerAndDefaultBox()
    {
        QWidget first;
        QWidget second;
        first.show();
        second.show();
        second.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&second));
        suite::Entorno entorno;
        entorno.Mensaje(u"uno"_s, 48, u"Talvexor"_s, first.winId(), u"XB733"_s, u"ERR-ID:7500002"_s);
        entorno.Mensaje(u"dos"_s, 48, u"Talvexor"_s, 0, u"XB733"_s, u"ERR-ID:7500003"_s);
        QCOMPARE(m_messages.requests.size(), 2);
        QCOMPARE(m_messages.requests.at(0).owner, &first);
        QCOMPARE(m_messages.requests.at(1).owner, &second); // no handle: the active window

        // Without a presenter of the session's own, the suite's message box asks the user.
        m_session.setMessages(nullptr);
        QString shown;
        QTimer::singleShot(0, this, [&shown] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->button(QMessageBox::Yes)->click();
            }
        });
        QCOMPARE(entorno.Mensaje(u"¿Desea continuar?"_s, 36, u"Talvexor"_s, 0, u"XB733"_s, u"ERR-ID:7500004"_s), 6);
        QCOMPARE(shown, u"¿Desea continuar?"_s);
    }

private:
    suite::Session m_session;
    suite::Session *m_previous = nullptr;
    FixedAnswer m_messages;
};

QTEST_MAIN(ServiceWidgetsTest)
#include "tst_services_widgets.moc"
