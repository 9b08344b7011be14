#include "suite/kit/SearchDialog.h"

#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
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
    m_statement = definition->Fields(u"Co_Sentencia"_s).toString().trimmed();
    while (m_statement.endsWith(u';'))
        m_statement.chop(1);

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
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"Aceptar"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Cancelar"_s);
    layout->addWidget(prompt);
    layout->addWidget(m_filter);
    layout->addWidget(m_list, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    connect(m_filter, &QLineEdit::textChanged, this, &SearchDialog::refresh);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &SearchDialog::choose);
    connect(buttons, &QDialogButtonBox::accepted, this, &SearchDialog::choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_filter->installEventFilter(this);
    m_list->installEventFilter(this);
    resize(560, 400);
    refresh();
}

SearchDialog::~SearchDialog() = default;

QString SearchDialog::filter() const
{
    return m_filter->text();
}

void SearchDialog::setFilter(const QString &text)
{
    m_filter->setText(text);
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

QString SearchDialog::statementFor(const QString &filter) const
{
    const Dialect &dialect = m_connection->dialect();
    QString statement = u"SELECT * FROM ("_s + m_statement + u") q"_s;
    const QString trimmed = filter.trimmed();
    if (!trimmed.isEmpty() && !m_columns.isEmpty()) {
        // Searched literally: wildcards escaped for LIKE, quotes doubled.
        const QString pattern = u"'%"_s + sqlEscape(Dialect::likeEscape(trimmed)) + u"%'"_s;
        QStringList conditions;
        for (int i = 0; i < qMin<qsizetype>(2, m_columns.size()); ++i) {
            conditions << u"CAST(q.%1 AS VARCHAR(400)) %2 %3%4"_s.arg(m_columns.at(i), dialect.caseInsensitiveLike(),
                                                                     pattern, Dialect::likeEscapeClause());
        }
        statement += u" WHERE "_s + conditions.join(u" OR "_s);
    }
    statement += u" ORDER BY 1"_s;
    // One row more than shown tells whether there are more.
    return dialect.limit(statement, m_maxRows + 1);
}

void SearchDialog::refresh()
{
    m_error.clear();
    RecordsetPtr rows;
    try {
        rows = m_connection->Execute(statementFor(m_filter->text()));
    } catch (const SuiteError &error) {
        m_error = error.description();
    }
    m_list->clear();
    m_capped = false;
    if (!rows) {
        m_status->setText(m_error);
        return;
    }
    if (m_columns.isEmpty()) {
        m_columns = rows->columns();
        QStringList headers;
        for (const QString &c : std::as_const(m_columns))
            headers << headerText(c);
        m_list->setColumnCount(headers.size());
        m_list->setHeaderLabels(headers);
        m_list->header()->setStretchLastSection(true);
        if (headers.size() > 1)
            m_list->setColumnWidth(0, 120);
        if (headers.size() > 2)
            m_list->setColumnWidth(1, 260);
    }
    QList<QTreeWidgetItem *> items;
    int count = 0;
    while (!rows->Eof()) {
        if (count == m_maxRows) {
            m_capped = true;
            break;
        }
        auto *item = new QTreeWidgetItem;
        for (int c = 0; c < rows->fieldCount(); ++c) {
            const QVariant v = rows->fieldValue(c);
            item->setText(c, v.isNull() ? QString() : v.toString());
        }
        items << item;
        ++count;
        rows->MoveNext();
    }
    m_list->addTopLevelItems(items);
    if (!items.isEmpty())
        m_list->setCurrentItem(items.constFirst());
    if (m_capped)
        m_status->setText(u"Se muestran los primeros %1 registros; escriba más para acotar."_s.arg(m_maxRows));
    else if (count == 0)
        m_status->setText(u"Ningún registro coincide."_s);
    else
        m_status->setText(count == 1 ? u"1 registro"_s : u"%1 registros"_s.arg(count));
}

void SearchDialog::choose()
{
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
            // Arrows in the filter move through the results; typing stays in the filter.
            QCoreApplication::sendEvent(m_list, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace suite
