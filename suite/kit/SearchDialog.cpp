#include "suite/kit/SearchDialog.h"

#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/SearchMarks.h"
#include "suite/kit/SearchRunner.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

QString headerText(const QString &column)
{
    // PostgreSQL folds names to lower case: show them capitalised.
    if (column.isEmpty())
        return column;
    QString text = column;
    text.replace(u'_', u' ');
    text[0] = text.at(0).toUpper();
    return text;
}

} // namespace

SearchDialog::SearchDialog(Connection *connection, const QString &queryId, int maxRows, QWidget *parent)
    : QDialog(parent)
    , m_connection(connection)
    , m_queryId(queryId)
    , m_maxRows(maxRows > 0 ? maxRows : 100)
{
    const RecordsetPtr definition = m_connection->Execute(
        u"SELECT Co_Titulo, Co_Sentencia FROM Consulta WHERE Co_Cve_Consulta = '"_s + sqlEscape(queryId) + u"'"_s);
    if (definition->Eof())
        throw SuiteError(u"No existe la consulta \"%1\"."_s.arg(queryId));
    m_title = definition->Fields(u"Co_Titulo"_s).toString();
    QString statement = definition->Fields(u"Co_Sentencia"_s).toString().trimmed();
    while (statement.endsWith(u';'))
        statement.chop(1);
    m_query = std::make_unique<SearchQuery>(statement, m_maxRows);
    m_query->checkIndex(*m_connection);

    setWindowTitle(m_title.isEmpty() ? u"Búsqueda"_s : m_title);
    auto *layout = new QVBoxLayout(this);
    auto *prompt = new QLabel(u"Buscar por clave o descripción:"_s, this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(u"filtro"_s);
    m_filter->setClearButtonEnabled(true);
    m_filter->setPlaceholderText(u"Escriba parte de la clave o de la descripción"_s);
    prompt->setBuddy(m_filter);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(u"resultados"_s);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_status = new QLabel(this);
    m_status->setObjectName(u"estado"_s);
    m_status->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"Aceptar"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Cancelar"_s);
    layout->addWidget(prompt);
    layout->addWidget(m_filter);
    layout->addWidget(m_list, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    m_marked = new QLabel(this);
    m_marked->setObjectName(u"marcados"_s);
    bottom->addWidget(m_marked);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    m_buttons = buttons;
    m_marks = new SearchMarks(m_list);
    connect(m_marks, &SearchMarks::changed, this, [this](int count) {
        m_marked->setText(count == 0 ? QString() : count == 1 ? u"1 marcado"_s : u"%1 marcados"_s.arg(count));
    });

    connect(m_filter, &QLineEdit::textChanged, this, &SearchDialog::refresh);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &SearchDialog::choose);
    connect(buttons, &QDialogButtonBox::accepted, this, &SearchDialog::choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_filter->installEventFilter(this);
    m_list->installEventFilter(this);
    resize(560, 400);

    // Keys typed while a search runs here are taken together: only the last text is searched.
    m_searchHere.setSingleShot(true);
    m_searchHere.setInterval(0);
    connect(&m_searchHere, &QTimer::timeout, this, &SearchDialog::searchHere);
    m_searching.setSingleShot(true);
    m_searching.setInterval(150);
    connect(&m_searching, &QTimer::timeout, this, [this] { m_status->setText(u"Buscando…"_s); });

    // The first rows at once; the columns they bring are what filters apply to.
    searchHere();
    if (!m_query->columns().isEmpty() && SearchRunner::available(*m_connection)) {
        m_runner = std::make_unique<SearchRunner>(m_connection, *m_query);
        connect(m_runner.get(), &SearchRunner::found, this,
                [this](const QString &, const SearchQuery::Result &result) { showRows(result); });
        connect(m_runner.get(), &SearchRunner::failed, this,
                [this](const QString &, const QString &error) { showError(error); });
        // Without a connection of its own the dialog searches on the screen's.
        connect(m_runner.get(), &SearchRunner::unavailable, this, [this] {
            m_runner.release()->deleteLater();
            if (m_waiting)
                searchHere();
        });
    }
}

SearchDialog::~SearchDialog() = default;

QString SearchDialog::filter() const
{
    return m_filter->text();
}

void SearchDialog::setFilter(const QString &text)
{
    m_filter->setText(text);
    waitForRows();
}

void SearchDialog::waitForRows()
{
    if (m_searchHere.isActive())
        searchHere();
    if (!m_waiting || !m_runner)
        return;
    // Keys typed meanwhile wait their turn: they belong after these rows.
    QEventLoop loop;
    connect(m_runner.get(), &SearchRunner::found, &loop, &QEventLoop::quit);
    connect(m_runner.get(), &SearchRunner::failed, &loop, &QEventLoop::quit);
    connect(m_runner.get(), &SearchRunner::unavailable, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (m_searchHere.isActive())
        searchHere();
}

int SearchDialog::rowCount() const
{
    return m_list->topLevelItemCount();
}

QStringList SearchDialog::rowTexts(int row) const
{
    QStringList texts;
    const QTreeWidgetItem *item = m_list->topLevelItem(row);
    if (!item)
        return texts;
    for (int c = 0; c < m_list->columnCount(); ++c)
        texts << item->text(c);
    return texts;
}

void SearchDialog::refresh()
{
    m_waiting = true;
    if (m_runner) {
        m_runner->search(m_filter->text());
        if (!m_searching.isActive())
            m_searching.start();
    } else {
        m_searchHere.start();
    }
}

void SearchDialog::searchHere()
{
    m_searchHere.stop();
    try {
        std::optional<SearchQuery::Result> result = m_query->run(*m_connection, m_filter->text());
        // Filters apply to the columns the definition gives, known from its first rows.
        if (m_query->columns().isEmpty()) {
            m_query->setColumns(result->columns);
            if (!m_filter->text().trimmed().isEmpty())
                result = m_query->run(*m_connection, m_filter->text());
        }
        showRows(*result);
    } catch (const SuiteError &error) {
        showError(error.description());
    }
}

void SearchDialog::showError(const QString &error)
{
    m_waiting = false;
    m_searching.stop();
    m_error = error;
    m_list->clear();
    m_capped = false;
    m_partial = false;
    m_status->setText(m_error);
}

void SearchDialog::setUpColumns(const QStringList &columns)
{
    QStringList headers;
    for (const QString &c : columns)
        headers << headerText(c);
    m_list->setColumnCount(headers.size());
    m_list->setHeaderLabels(headers);
    m_list->header()->setStretchLastSection(true);
    if (headers.size() > 1)
        m_list->setColumnWidth(0, 120);
    if (headers.size() > 2)
        m_list->setColumnWidth(1, 260);
}

void SearchDialog::showRows(const SearchQuery::Result &result)
{
    m_waiting = false;
    m_searching.stop();
    m_error.clear();
    m_list->clear();
    if (m_list->columnCount() != result.columns.size() || m_list->headerItem()->text(0).isEmpty())
        setUpColumns(result.columns);
    QList<QTreeWidgetItem *> items;
    for (const QVector<QVariant> &row : result.rows) {
        auto *item = new QTreeWidgetItem;
        for (int c = 0; c < row.size(); ++c)
            item->setText(c, row.at(c).isNull() ? QString() : row.at(c).toString());
        items << item;
    }
    m_list->addTopLevelItems(items);
    m_marks->rowsShown();
    if (!items.isEmpty())
        m_list->setCurrentItem(items.constFirst());
    m_capped = result.capped;
    m_partial = result.partial;
    const qsizetype count = items.size();
    if (m_capped) {
        m_status->setText(u"Se muestran los primeros %1 registros; escriba más para acotar."_s.arg(m_maxRows));
    } else if (m_partial) {
        const QString found = count == 0 ? u"Ningún registro coincide"_s
                                         : count == 1 ? u"1 registro"_s : u"%1 registros"_s.arg(count);
        m_status->setText(u"%1 entre las primeras %2 claves; escriba al menos tres letras o números seguidos "
                          "para buscar en todas."_s.arg(found).arg(SearchQuery::FirstRows));
    } else if (count == 0) {
        m_status->setText(u"Ningún registro coincide."_s);
    } else {
        m_status->setText(count == 1 ? u"1 registro"_s : u"%1 registros"_s.arg(count));
    }
}

QPushButton *SearchDialog::addAction(const QString &caption,
                                     const std::function<void(const QStringList &keys)> &action)
{
    QPushButton *button = m_buttons->addButton(caption, QDialogButtonBox::ActionRole);
    button->setEnabled(!m_marks->keys().isEmpty());
    connect(m_marks, &SearchMarks::changed, button, [button](int count) { button->setEnabled(count > 0); });
    connect(button, &QPushButton::clicked, this, [this, action] { action(m_marks->keys()); });
    return button;
}

void SearchDialog::choose()
{
    waitForRows(); // what is chosen is a row of what is typed
    QTreeWidgetItem *item = m_list->currentItem();
    if (!item && m_list->topLevelItemCount() > 0)
        item = m_list->topLevelItem(0);
    if (!item)
        return;   // nothing to choose: the dialog stays open
    m_chosen = item->text(0);
    accept();
}

bool SearchDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            choose();
            return true;
        }
        if (watched == m_filter && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up
                                    || key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp)) {
            // Arrows in the filter move through the results of what is typed; typing stays in the filter.
            waitForRows();
            QCoreApplication::sendEvent(m_list, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace suite
