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
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

class RecordingMessages : public suite::MessagePresenter
{
public:
    int show(const suite::MessageRequest &request) override
    {
        requests.append(request);
        return answer;
    }
    QList<suite::MessageRequest> requests;
    int answer = 1;
};

class ScriptedSearch : public suite::SearchPresenter
{
public:
    QString choose(const QString &queryId, int maxRows, QWidget *owner) override
    {
        calls.append({queryId, maxRows, owner});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    struct Call
    {
        QString queryId;
        int maxRows;
        QWidget *owner;
    };
    QList<Call> calls;
    QStringList answers;
};

// A control of someone else's making with its own way of emptying itself.
class SelfClearingBox : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    int cleared = 0;
public Q_SLOTS:
    void limpia()
    {
        ++cleared;
        setText(u"(vacío)"_s);
    }
};

template<typename T>
T *tagged(QWidget *parent, const QString &name, const QVariant &tag)
{
    auto *control = new T(parent);
    control->setObjectName(name);
    control->setProperty("tag", tag);
    return control;
}

} // namespace

class ServiceWidgetsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void groupsEmptyAndDisableOnlyTheirMembers();
    void groupsEnableKeepingValues();
    void groupsNeedAForm();
    void tabMovesFocusInTabOrder();
    void otherKeysAreTyped();
    void tabInsideAGridMovesBetweenCells();
    void messagesReachThePresenter_data();
    void messagesReachThePresenter();
    void messageOwnerIsTheWindowOfTheHandle();
    void messageWithoutPresenterUsesTheMessageBox();
    void searchUsesTheSessionsPresenter();

private:
    std::unique_ptr<suite::Session> m_session;
    suite::Session *m_previous = nullptr;
    RecordingMessages m_messages;
    ScriptedSearch m_search;
};

void ServiceWidgetsTest::init()
{
    m_previous = suite::Session::currentOrNull();
    m_session = std::make_unique<suite::Session>();
    m_session->setUser(u"PRUEBA"_s);
    m_messages.requests.clear();
    m_messages.answer = 1;
    m_search.calls.clear();
    m_search.answers.clear();
    m_session->setMessages(&m_messages);
    m_session->setSearch(&m_search);
    suite::Session::setCurrent(m_session.get());
}

void ServiceWidgetsTest::cleanup()
{
    suite::Session::setCurrent(m_previous);
    m_session.reset();
}

void ServiceWidgetsTest::groupsEmptyAndDisableOnlyTheirMembers()
{
    QWidget form;
    auto *descripcion = tagged<suite::txtKIT>(&form, u"txtDescripcion"_s, u"1"_s);
    descripcion->setText(u"Laptop de diseño"_s);
    auto *costo = tagged<suite::txtKIT>(&form, u"txtCosto"_s, u"1"_s);
    costo->setTipodato(6);
    costo->setValor(1234.5);
    auto *fecha = tagged<suite::dpFecha>(&form, u"dpFechaCompra"_s, u"1"_s);
    fecha->setDate(QDate(2001, 2, 3));
    auto *frame = tagged<suite::Frame>(&form, u"frmResponsable"_s, u"1"_s);
    auto *empleado = tagged<suite::OptionButton>(frame, u"opEmpleado"_s, u"1"_s);
    auto *cliente = tagged<suite::OptionButton>(frame, u"opCliente"_s, u"1"_s);
    empleado->setValue(true);
    // A plain exclusive radio pair and one in an exclusive button group.
    auto *plainA = tagged<QRadioButton>(&form, u"plainA"_s, 1); // tag held as a number
    auto *plainB = tagged<QRadioButton>(&form, u"plainB"_s, u"1"_s);
    plainA->setChecked(true);
    auto *grouped = tagged<QRadioButton>(&form, u"grouped"_s, u"1"_s);
    auto *groupedOther = tagged<QRadioButton>(&form, u"groupedOther"_s, QString());
    QButtonGroup buttons;
    buttons.addButton(grouped);
    buttons.addButton(groupedOther);
    grouped->setChecked(true);
    // Nested in an untagged container, and a control of its own kind.
    auto *holder = new QWidget(&form);
    auto *nested = tagged<QLineEdit>(holder, u"nested"_s, u" 1 "_s);
    nested->setText(u"dentro"_s);
    auto *own = tagged<SelfClearingBox>(&form, u"own"_s, u"1"_s);
    own->setText(u"propio"_s);
    // Other groups.
    auto *grid = tagged<suite::DataGrid>(&form, u"ssDetalle"_s, u"5"_s);
    grid->addColumn(u"Clave"_s, u"Clave"_s, 8);
    grid->addColumn(u"Porcentaje"_s, u"Porcentaje"_s, 5);
    grid->AddNew();
    grid->setCellText(u"Clave"_s, u"000010"_s);
    grid->setCellText(u"Porcentaje"_s, u"100"_s);
    grid->Update();
    auto *clave = tagged<suite::txtKIT>(&form, u"txt_Af_Cve_Activo_Fijo"_s, u""_s);
    clave->setText(u"0000000007"_s);
    auto *eleven = tagged<QLineEdit>(&form, u"eleven"_s, u"11"_s);
    eleven->setText(u"once"_s);
    const int gridRows = grid->Rows();
    QCOMPARE(gridRows, 1);

    suite::Utilerias utilerias;
    utilerias.LimpiaControles(&form, 1);

    QCOMPARE(descripcion->text(), QString());
    QCOMPARE(costo->text(), costo->zeroText());
    QVERIFY(costo->text() != u"$1,234.5000"_s);
    QCOMPARE(fecha->date(), QDate::currentDate());
    QVERIFY(!empleado->isChecked());
    QVERIFY(!cliente->isChecked());
    QVERIFY(!plainA->isChecked());
    QVERIFY(plainA->autoExclusive());
    QVERIFY(!grouped->isChecked());
    QVERIFY(buttons.exclusive());
    QCOMPARE(nested->text(), QString());
    QCOMPARE(own->cleared, 1);
    QCOMPARE(own->text(), u"(vacío)"_s);
    for (QWidget *member : {static_cast<QWidget *>(descripcion), static_cast<QWidget *>(costo),
                            static_cast<QWidget *>(fecha), static_cast<QWidget *>(frame),
                            static_cast<QWidget *>(empleado), static_cast<QWidget *>(cliente),
                            static_cast<QWidget *>(plainA), static_cast<QWidget *>(plainB),
                            static_cast<QWidget *>(grouped), static_cast<QWidget *>(nested),
                            static_cast<QWidget *>(own)}) {
        QVERIFY2(!suite::ownEnabled(member), qPrintable(member->objectName()));
        QCOMPARE(member->property("enabled").toBool(), false);
    }
    // The rest of the form is left as it was.
    QVERIFY(suite::ownEnabled(holder));
    QVERIFY(suite::ownEnabled(grid));
    QCOMPARE(grid->Rows(), gridRows);
    QCOMPARE(clave->text(), u"0000000007"_s);
    QVERIFY(suite::ownEnabled(clave));
    QCOMPARE(eleven->text(), u"once"_s);
    QVERIFY(suite::ownEnabled(eleven));

    utilerias.LimpiaControles(&form, 5);
    QCOMPARE(grid->Rows(), 0);
    QVERIFY(!suite::ownEnabled(grid));
    QCOMPARE(clave->text(), u"0000000007"_s);
}

void ServiceWidgetsTest::groupsEnableKeepingValues()
{
    QWidget form;
    auto *frame = tagged<suite::Frame>(&form, u"frmEmpleado"_s, u"1"_s);
    auto *empleado = tagged<suite::txtKIT>(frame, u"txtClaveEmpleado"_s, u"1"_s);
    auto *opcion = tagged<suite::OptionButton>(&form, u"opEmpleado"_s, u"1"_s);
    auto *otro = tagged<suite::txtKIT>(&form, u"txtOtro"_s, u"2"_s);

    suite::Utilerias utilerias;
    utilerias.LimpiaControles(&form, 1);
    utilerias.LimpiaControles(&form, 2);
    empleado->setText(u"000123"_s);
    opcion->setValue(true);

    utilerias.HabilitaControles(&form, 1);
    QCOMPARE(empleado->text(), u"000123"_s);
    QVERIFY(opcion->isChecked());
    QVERIFY(suite::ownEnabled(frame));
    QVERIFY(suite::ownEnabled(empleado));
    QVERIFY(suite::ownEnabled(opcion));
    QCOMPARE(empleado->property("enabled").toBool(), true);
    QVERIFY(!suite::ownEnabled(otro));

    // A member stays unusable while its untagged container is disabled; its own flag is set all the same.
    frame->setProperty("tag", u""_s);
    utilerias.LimpiaControles(&form, 1);
    frame->setProperty("enabled", false);
    utilerias.HabilitaControles(&form, 1);
    QVERIFY(suite::ownEnabled(empleado));
    QVERIFY(!empleado->isEnabled());
}

void ServiceWidgetsTest::groupsNeedAForm()
{
    suite::Utilerias utilerias;
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, utilerias.LimpiaControles(nullptr, 1));
    QVERIFY_THROWS_EXCEPTION(suite::SuiteError, utilerias.HabilitaControles(nullptr, 1));
}

void ServiceWidgetsTest::tabMovesFocusInTabOrder()
{
    QWidget form;
    auto *layout = new QVBoxLayout(&form);
    auto *first = new suite::txtKIT(&form);
    auto *disabled = new QLineEdit(&form);
    auto *second = new QLineEdit(&form);
    auto *third = new suite::OptionButton(&form);
    for (QWidget *w : {static_cast<QWidget *>(first), static_cast<QWidget *>(disabled),
                       static_cast<QWidget *>(second), static_cast<QWidget *>(third)})
        layout->addWidget(w);
    disabled->setEnabled(false);
    // Tab order differs from creation order on purpose.
    QWidget::setTabOrder(first, third);
    QWidget::setTabOrder(third, disabled);
    QWidget::setTabOrder(disabled, second);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    first->setFocus();
    QCOMPARE(QApplication::focusWidget(), first);

    suite::Utilerias utilerias;
    utilerias.EnviaTecla(u"\t"_s, 0, QVariant());
    QCOMPARE(QApplication::focusWidget(), third);
    utilerias.EnviaTecla(u"\t"_s, 0, QVariant());
    QCOMPARE(QApplication::focusWidget(), second); // the disabled box is passed over
    utilerias.EnviaTecla(u"{TAB}"_s, 0, QVariant());
    QCOMPARE(QApplication::focusWidget(), first); // wraps round the window
    QCOMPARE(first->text(), QString());           // the TAB is not typed into the box
}

void ServiceWidgetsTest::otherKeysAreTyped()
{
    QWidget form;
    auto *box = new QLineEdit(&form);
    auto *next = new QLineEdit(&form);
    new QVBoxLayout(&form);
    form.layout()->addWidget(box);
    form.layout()->addWidget(next);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    box->setFocus();

    suite::Utilerias utilerias;
    utilerias.EnviaTecla(u"Año 7"_s, 0, QVariant());
    QCOMPARE(box->text(), u"Año 7"_s);
    utilerias.EnviaTecla(u"x\ty"_s, 0, QVariant());
    QCOMPARE(box->text(), u"Año 7x"_s);
    QCOMPARE(next->text(), u"y"_s);
    QCOMPARE(QApplication::focusWidget(), next);
}

void ServiceWidgetsTest::tabInsideAGridMovesBetweenCells()
{
    QWidget form;
    new QVBoxLayout(&form);
    auto *grid = new QTableWidget(2, 3, &form);
    auto *after = new QLineEdit(&form);
    form.layout()->addWidget(grid);
    form.layout()->addWidget(after);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    grid->setFocus();
    grid->setCurrentCell(0, 0);

    suite::Utilerias utilerias;
    utilerias.EnviaTecla(u"\t"_s, 0, QVariant());
    QCOMPARE(QApplication::focusWidget(), grid);
    QCOMPARE(grid->currentColumn(), 1);
    QCOMPARE(grid->currentRow(), 0);
}

void ServiceWidgetsTest::messagesReachThePresenter_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("presenterAnswer");
    QTest::addColumn<int>("expected");

    QTest::newRow("stop") << 16 << 1 << 1;
    QTest::newRow("exclamation ignores odd answers") << 48 << 7 << 1;
    QTest::newRow("information") << 64 << 1 << 1;
    QTest::newRow("question, yes") << 36 << 6 << 6;
    QTest::newRow("question, no") << 36 << 7 << 7;
    QTest::newRow("question closed without answer") << 36 << 2 << 7;
    QTest::newRow("yes/no/cancel keeps cancel") << 35 << 2 << 2;
}

void ServiceWidgetsTest::messagesReachThePresenter()
{
    QFETCH(int, style);
    QFETCH(int, presenterAnswer);
    QFETCH(int, expected);
    m_messages.answer = presenterAnswer;

    suite::Entorno entorno;
    const QString prompt = u"La clave, ya está asignada al activo fijo: 01\r\n¿Desea generar una nueva clave?"_s;
    const int answer = entorno.Mensaje(prompt, style, u"Generar nueva clave?"_s, 0, u"XB733"_s,
                                       u"ERR-ID:7500001"_s);
    QCOMPARE(answer, expected);
    QCOMPARE(m_messages.requests.size(), 1);
    const auto &request = m_messages.requests.first();
    QCOMPARE(request.prompt, prompt);
    QCOMPARE(request.style, style);
    QCOMPARE(request.title, u"Generar nueva clave?"_s);
    QCOMPARE(request.component, u"XB733"_s);
    QCOMPARE(request.id, u"ERR-ID:7500001"_s);
}

void ServiceWidgetsTest::messageOwnerIsTheWindowOfTheHandle()
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
}

void ServiceWidgetsTest::messageWithoutPresenterUsesTheMessageBox()
{
    m_session->setMessages(nullptr);
    QString shownText;
    QTimer::singleShot(0, this, [&shownText] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        shownText = box->text();
        if (QAbstractButton *yes = box->button(QMessageBox::Yes))
            yes->click();
    });
    suite::Entorno entorno;
    const int answer = entorno.Mensaje(u"¿Desea continuar?"_s, 36, u"Talvexor"_s, 0, u"XB733"_s,
                                       u"ERR-ID:7500004"_s);
    QCOMPARE(shownText, u"¿Desea continuar?"_s);
    QCOMPARE(answer, 6);
    QVERIFY(m_messages.requests.isEmpty());
}

void ServiceWidgetsTest::searchUsesTheSessionsPresenter()
{
    QWidget form;
    m_search.answers = QStringList{u"000010"_s, QString()};
    suite::Utilerias utilerias;
    QCOMPARE(utilerias.Consulta(u"CENTRO_COSTO"_s, 100, QString(), &form), u"000010"_s);
    QCOMPARE(utilerias.Consulta(u"EMPRESA"_s, 100, QString(), nullptr), QString());
    QCOMPARE(m_search.calls.size(), 2);
    QCOMPARE(m_search.calls.at(0).queryId, u"CENTRO_COSTO"_s);
    QCOMPARE(m_search.calls.at(0).maxRows, 100);
    QCOMPARE(m_search.calls.at(0).owner, &form);
    QCOMPARE(m_search.calls.at(1).queryId, u"EMPRESA"_s);
}

QTEST_MAIN(ServiceWidgetsTest)
#include "tst_ServiceWidgets.moc"
