#include "suite/data/SuiteError.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/Frame.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/session/MessagePresenter.h"
#include "suite/session/SearchPresenter.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QButtonGroup>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Answers every message with one fixed code, whatever its style.
struct FixedAnswer : suite::MessagePresenter
{
    int show(const suite::MessageRequest &request) override { requests.append(request); return answer; }
    QList<suite::MessageRequest> requests;
    int answer = 1;
};

struct OwnerRecordingSearch : suite::SearchPresenter
{
    QString choose(const QString &queryId, int maxRows, QWidget *owner) override
    {
        calls.append(u"%1/%2"_s.arg(queryId).arg(maxRows));
        owners.append(owner);
        return u"000010"_s;
    }
    QStringList calls;
    QList<QWidget *> owners;
};

// A control of someone else's making with its own way of emptying itself.
class SelfClearingBox : public QLineEdit
{
    Q_OBJECT
public Q_SLOTS:
    void limpia() { setText(u"(vacío)"_s); }
};

template<typename T>
T *tagged(QWidget *parent, const QVariant &tag)
{
    auto *control = new T;
    control->setParent(parent);
    control->setProperty("tag", tag);
    if (parent->layout())
        parent->layout()->addWidget(control);
    return control;
}

void showActive(QWidget &form)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

} // namespace

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

    void cleanup()
    {
        suite::Session::setCurrent(m_previous);
    }

    void groupsEmptyAndDisableOnlyTheirMembers()
    {
        QWidget form;
        auto *descripcion = tagged<suite::txtKIT>(&form, u"1"_s);
        descripcion->setText(u"Laptop de diseño"_s);
        auto *costo = tagged<suite::txtKIT>(&form, 1); // a tag held as a number counts too
        costo->setTipodato(6);
        costo->setValor(1234.5);
        auto *fecha = tagged<suite::dpFecha>(&form, u"1"_s);
        fecha->setDate(QDate(2001, 2, 3));
        auto *frame = tagged<suite::Frame>(&form, u"1"_s);
        auto *empleado = tagged<suite::OptionButton>(frame, u"1"_s);
        auto *cliente = tagged<suite::OptionButton>(frame, u"1"_s);
        empleado->setValue(true);
        auto *plain = tagged<QRadioButton>(&form, u"1"_s); // exclusive among its siblings
        tagged<QRadioButton>(&form, u""_s);
        plain->setChecked(true);
        auto *grouped = tagged<QRadioButton>(&form, u"1"_s);
        QButtonGroup buttons;
        buttons.addButton(grouped);
        buttons.addButton(tagged<QRadioButton>(&form, u""_s));
        grouped->setChecked(true);
        auto *holder = new QWidget(&form);
        auto *nested = tagged<QLineEdit>(holder, u" 1 "_s);
        nested->setText(u"dentro"_s);
        auto *own = tagged<SelfClearingBox>(&form, u"1"_s);
        auto *grid = tagged<suite::DataGrid>(&form, u"5"_s);
        grid->addColumn(u"Clave"_s, u"Clave"_s, 8);
        grid->AddNew();
        grid->setCellText(u"Clave"_s, u"000010"_s);
        grid->Update();
        auto *clave = tagged<suite::txtKIT>(&form, u""_s);
        clave->setText(u"0000000007"_s);
        auto *eleven = tagged<QLineEdit>(&form, u"11"_s);
        eleven->setText(u"once"_s);
        QCOMPARE(grid->Rows(), 1);

        suite::Utilerias utilerias;
        const QDate today = QDate::currentDate();
        utilerias.LimpiaControles(&form, 1);
        QCOMPARE(descripcion->text(), QString());
        QCOMPARE(costo->text(), costo->zeroText());
        QVERIFY(fecha->date() >= today && fecha->date() <= QDate::currentDate()); // a picker's empty is today
        QVERIFY(!empleado->isChecked() && !cliente->isChecked());
        QVERIFY(!plain->isChecked());
        QVERIFY(plain->autoExclusive());
        QVERIFY(!grouped->isChecked());
        QVERIFY(buttons.exclusive());
        QCOMPARE(nested->text(), QString());
        QCOMPARE(own->text(), u"(vacío)"_s);
        for (QWidget *member : std::initializer_list<QWidget *>{descripcion, costo, fecha, frame, empleado, cliente, plain, grouped, nested, own}) {
            QVERIFY(!suite::ownEnabled(member));
        }
        // The rest of the form is left as it was.
        QVERIFY(suite::ownEnabled(holder) && suite::ownEnabled(grid) && suite::ownEnabled(clave) && suite::ownEnabled(eleven));
        QCOMPARE(grid->Rows(), 1);
        QCOMPARE(clave->text(), u"0000000007"_s);
        QCOMPARE(eleven->text(), u"once"_s);

        utilerias.LimpiaControles(&form, 5);
        QCOMPARE(grid->Rows(), 0);
        QVERIFY(!suite::ownEnabled(grid));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, utilerias.LimpiaControles(nullptr, 1));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, utilerias.HabilitaControles(nullptr, 1));
    }

    void groupsEnableKeepingValues()
    {
        QWidget form;
        auto *frame = tagged<suite::Frame>(&form, u"1"_s);
        auto *empleado = tagged<suite::txtKIT>(frame, u"1"_s);
        auto *opcion = tagged<suite::OptionButton>(&form, u"1"_s);
        auto *otro = tagged<suite::txtKIT>(&form, u"2"_s);
        suite::Utilerias utilerias;
        utilerias.LimpiaControles(&form, 1);
        utilerias.LimpiaControles(&form, 2);
        empleado->setText(u"000123"_s);
        opcion->setValue(true);

        utilerias.HabilitaControles(&form, 1);
        QCOMPARE(empleado->text(), u"000123"_s);
        QVERIFY(opcion->isChecked());
        QVERIFY(suite::ownEnabled(frame) && suite::ownEnabled(empleado) && suite::ownEnabled(opcion));
        QVERIFY(!suite::ownEnabled(otro));

        // Inside a disabled container that is not of the group, a member gets its own flag back but stays unusable.
        frame->setProperty("tag", u""_s);
        utilerias.LimpiaControles(&form, 1);
        frame->setProperty("enabled", false);
        utilerias.HabilitaControles(&form, 1);
        QVERIFY(suite::ownEnabled(empleado));
        QVERIFY(!empleado->isEnabled());
    }

    void keysMoveFocusOrAreTyped()
    {
        QWidget form;
        new QVBoxLayout(&form);
        auto *first = tagged<suite::txtKIT>(&form, {});
        auto *disabled = tagged<QLineEdit>(&form, {});
        auto *second = tagged<QLineEdit>(&form, {});
        auto *third = tagged<suite::OptionButton>(&form, {});
        auto *grid = tagged<QTableWidget>(&form, {});
        grid->setRowCount(2);
        grid->setColumnCount(3);
        disabled->setEnabled(false);
        QWidget::setTabOrder(first, third); // tab order differs from creation order
        QWidget::setTabOrder(third, disabled);
        QWidget::setTabOrder(disabled, second);
        QWidget::setTabOrder(second, grid);
        showActive(form);
        first->setFocus();

        suite::Utilerias utilerias;
        utilerias.EnviaTecla(u"\t"_s, 0, QVariant());
        QCOMPARE(QApplication::focusWidget(), third);
        // The disabled box is passed over; other characters, ñ included, are typed where the focus is.
        utilerias.EnviaTecla(u"\tAño 7"_s, 0, QVariant());
        QCOMPARE(QApplication::focusWidget(), second);
        QCOMPARE(second->text(), u"Año 7"_s);
        // A control that takes TAB itself gets it: a grid moves to its next cell.
        grid->setFocus();
        grid->setCurrentCell(0, 0);
        utilerias.EnviaTecla(u"{TAB}"_s, 0, QVariant());
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(grid->currentColumn(), 1);
    }

    void messagesReachThePresenter_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("presenterAnswer");
        QTest::addColumn<int>("expected");
        QTest::newRow("stop") << 16 << 1 << 1;
        QTest::newRow("exclamation ignores odd answers") << 48 << 7 << 1;
        QTest::newRow("question, yes") << 36 << 6 << 6;
        QTest::newRow("question, no") << 36 << 7 << 7;
        QTest::newRow("question closed unanswered") << 36 << 2 << 7;
        QTest::newRow("yes/no/cancel keeps cancel") << 35 << 2 << 2;
    }

    void messagesReachThePresenter()
    {
        QFETCH(int, style);
        QFETCH(int, presenterAnswer);
        QFETCH(int, expected);
        m_messages.answer = presenterAnswer;
        const QString prompt = u"La clave, ya está asignada al activo fijo: 01\r\n¿Desea generar una nueva clave?"_s;
        QCOMPARE(suite::Entorno().Mensaje(prompt, style, u"Generar nueva clave?"_s, 0, u"XB733"_s, u"ERR-ID:7500001"_s), expected);
        QCOMPARE(m_messages.requests.size(), 1);
        const auto &request = m_messages.requests.first();
        QCOMPARE(request.prompt, prompt);
        QCOMPARE(request.style, style);
        QCOMPARE(request.title, u"Generar nueva clave?"_s);
        QCOMPARE(request.component, u"XB733"_s);
        QCOMPARE(request.id, u"ERR-ID:7500001"_s);
    }

    void messageOwnerAndDefaultBox()
    {
        QWidget first;
        QWidget second;
        first.show();
        showActive(second);
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

    void searchUsesTheSessionsPresenter()
    {
        QWidget form;
        showActive(form);
        OwnerRecordingSearch search;
        m_session.setSearch(&search);
        suite::Utilerias utilerias;
        QCOMPARE(utilerias.Consulta(u"CENTRO_COSTO"_s, 100, QString(), &form), u"000010"_s);
        utilerias.Consulta(u"EMPRESA"_s, 100, QString(), nullptr);
        m_session.setSearch(nullptr);
        QCOMPARE(search.calls, (QStringList{u"CENTRO_COSTO/100"_s, u"EMPRESA/100"_s}));
        QCOMPARE(search.owners, (QList<QWidget *>{&form, &form})); // no owner: the active window
    }

private:
    suite::Session m_session;
    suite::Session *m_previous = nullptr;
    FixedAnswer m_messages;
};

QTEST_MAIN(ServiceWidgetsTest)
#include "tst_ServiceWidgets.moc"
