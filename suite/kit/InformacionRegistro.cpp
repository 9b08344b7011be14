#include "suite/kit/InformacionRegistro.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/RecordHistoryModel.h"
#include "suite/runtime/HostEvents.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// Names reach the statement as identifiers, so only plain ones are accepted.
QString identifier(const QString &name)
{
    static const QRegularExpression plain(u"^[A-Za-z_][A-Za-z0-9_]*$"_s);
    if (!plain.match(name).hasMatch())
        throw SuiteError(u"El nombre '%1' no es un nombre de tabla o columna válido"_s.arg(name));
    return name;
}

QString when(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(u"dd/MM/yyyy HH:mm:ss"_s);
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(u"dd/MM/yyyy"_s);
    return value.toString();
}

QString who(const QVariant &oper, const QVariant &date)
{
    const QString name = oper.isNull() ? QString() : oper.toString();
    const QString at = when(date);
    if (name.isEmpty() && at.isEmpty())
        return u"(sin dato)"_s;
    if (at.isEmpty())
        return name;
    return name.isEmpty() ? at : u"%1, el %2"_s.arg(name, at);
}

} // namespace

const QStringList &InformacionRegistro::fields()
{
    static const QStringList names = {u"Oper_Alta"_s,  u"Fecha_Alta"_s, u"Oper_Ult_Modif"_s, u"Fecha_Ult_Modif"_s,
                                      u"Es_Cve_Estado"_s, u"Oper_Baja"_s, u"Fecha_Baja"_s};
    return names;
}

void InformacionRegistro::Muestra(const QString &entity, const QString &keyColumn, const QString &key,
                                  const QString &e1, const QString &e2, const QString &e3, const QString &e4)
{
    bool found = false;
    const QVariantList values = read(entity, keyColumn, key, &found);
    // The record's changes under its entity code, as the commands recorded them.
    RecordHistoryModel history(m_connection, entity, key);
    HostEvents &events = HostEvents::instance();
    if (events.unattended()) {
        HostEvents::Information shown{{entity, keyColumn, key, e1, e2, e3, e4},
                                      found ? fields() : QStringList(), values, RecordHistoryModel::fields(), {},
                                      history.hasMore()};
        for (int row = 0; row < history.rowCount(); ++row)
            shown.history.append(history.change(row));
        events.notifyInformation(shown);
        return;
    }
    show(entity, key, found, values, history);
}

QVariantList InformacionRegistro::read(const QString &entity, const QString &keyColumn, const QString &key,
                                       bool *found) const
{
    *found = false;
    QVariantList values;
    if (key.isEmpty())
        return values;
    Connection *connection = &m_connection;
    const QString table = identifier(entity);
    const QStringList columns = connection->columnNames(table);
    QStringList wanted;
    for (const QString &field : fields())
        wanted << (columns.contains(field, Qt::CaseInsensitive) ? field : u"NULL AS "_s + field);
    const RecordsetPtr row = connection->Execute(u"SELECT "_s + wanted.join(u", "_s) + u" FROM "_s + table
                                                 + u" WHERE "_s + identifier(keyColumn) + u" = '"_s
                                                 + sqlEscape(key) + u"'"_s);
    if (row->Eof())
        return values;
    *found = true;
    for (const QString &field : fields())
        values << row->Fields(field);
    return values;
}

void InformacionRegistro::show(const QString &entity, const QString &key, bool found, const QVariantList &values,
                               RecordHistoryModel &history) const
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(u"Información del registro"_s);
    auto *form = new QFormLayout(&dialog);
    form->addRow(u"Tabla:"_s, new QLabel(entity, &dialog));
    form->addRow(u"Clave:"_s, new QLabel(key.isEmpty() ? u"(ninguna)"_s : key, &dialog));
    if (!found) {
        form->addRow(new QLabel(key.isEmpty() ? u"No hay un registro en pantalla."_s
                                              : u"El registro no está guardado."_s, &dialog));
    } else {
        const QString state = values.at(4).toString();
        form->addRow(u"Creado por:"_s, new QLabel(who(values.at(0), values.at(1)), &dialog));
        form->addRow(u"Último cambio:"_s, new QLabel(who(values.at(2), values.at(3)), &dialog));
        form->addRow(u"Estado:"_s, new QLabel(state == u"BA"_s ? u"Dado de baja"_s : u"Activo"_s, &dialog));
        if (state == u"BA"_s)
            form->addRow(u"Dado de baja por:"_s, new QLabel(who(values.at(5), values.at(6)), &dialog));
    }
    if (found) {
        auto *changes = new QTableView(&dialog);
        changes->setObjectName(u"historial"_s);
        changes->setModel(&history);
        changes->setAccessibleName(u"Historial de cambios"_s);
        changes->setSelectionBehavior(QAbstractItemView::SelectRows);
        changes->setEditTriggers(QAbstractItemView::NoEditTriggers);
        changes->setAlternatingRowColors(true);
        changes->verticalHeader()->hide();
        changes->verticalHeader()->setDefaultSectionSize(changes->fontMetrics().height() + 6);
        changes->horizontalHeader()->setStretchLastSection(true);
        changes->resizeColumnsToContents();
        auto *caption = new QLabel(history.rowCount() == 0 ? u"Historial de cambios: ninguno registrado."_s
                                                           : u"&Historial de cambios (el más reciente primero):"_s,
                                   &dialog);
        caption->setBuddy(changes);
        form->addRow(caption);
        form->addRow(changes);
        dialog.resize(860, 520);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    buttons->button(QDialogButtonBox::Close)->setText(u"Cerrar"_s);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    dialog.exec();
}

} // namespace suite
