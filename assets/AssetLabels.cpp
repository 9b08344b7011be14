#include "assets/AssetLabels.h"

#include "assets/AssetScreen.h"
#include "assets/LabelDefinition.h"
#include "assets/ScreenCodes.h"
#include "assets/SqlLiteral.h"
#include "assets/FormVariables.h"
#include "suite/data/Recordset.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/KeyFormat.h"
#include "suite/kit/TxtKit.h"
#include "suite/print/Reporte.h"

#include <QHash>
#include <QSet>
#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Routine = u"Controles_B2Click()"_s;
const QString Talvexor = u"Talvexor"_s;
const QString NotConfigured = u"Debe configurar correctamente la variabla<CAT_ETIQUETAS_ACTIVO_FIJO> "_s;
const QString NotConfiguredId = u"ERR-ID:7500031"_s;
const QString UnknownLabel = u"La clave de la etiqueta es incorrecta"_s;
const QString UnknownLabelId = u"ERR-ID:7500032"_s;
const QString FailureId = u"ERR-ID:7500033"_s;

// Many labels at once: the keys that got none, a failure, a list without keys.
const QString ManyTitle = QString::fromLatin1(AssetLabels::Caption);
const QString SkippedId = u"ERR-ID:7500080"_s;
const QString ManyFailureId = u"ERR-ID:7500081"_s;
const QString NoKeys = u"La lista no tiene claves de activo fijo."_s;
const QString NoKeysId = u"ERR-ID:7500082"_s;
constexpr int SkippedShown = 30; // lines of the message; the rest are counted

// ImprimeTexto's numbers: the suite's 80 x 40 mm label in 7-point type, one copy.
constexpr double LabelPoints = 7;
const QString Deactivated = u"BA"_s;
constexpr qsizetype KeysPerLookUp = 500;

// The state of each stored asset among keys, by key.
QHash<QString, QString> statesOf(const AssetScreen &screen, const QStringList &keys)
{
    QHash<QString, QString> states;
    const QStringList distinct(QSet<QString>(keys.cbegin(), keys.cend()).values());
    for (qsizetype from = 0; from < distinct.size(); from += KeysPerLookUp) {
        QStringList literals;
        for (const QString &key : distinct.mid(from, KeysPerLookUp))
            literals << u"'"_s + SqlLiteral::inner(key) + u"'"_s;
        const suite::RecordsetPtr rows = screen.execute(
            u"SELECT Af_Cve_Activo_Fijo, Es_Cve_Estado FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo IN ("_s
            + literals.join(u", "_s) + u")"_s);
        for (; !rows->Eof(); rows->MoveNext())
            states.insert(rows->fieldValue(0).toString(), rows->fieldValue(1).toString());
    }
    return states;
}

QString skippedText(const QStringList &skipped)
{
    QStringList lines{u"No se imprimió la etiqueta de estas claves:"_s};
    lines += skipped.mid(0, SkippedShown);
    if (skipped.size() > SkippedShown)
        lines << u"… y %1 más."_s.arg(skipped.size() - SkippedShown);
    return lines.join(u'\n');
}

} // namespace

AssetLabels::AssetLabels(const AssetScreen &screen)
    : m_screen(screen)
{
}

bool AssetLabels::configured() const
{
    if (!m_screen.variables().EtiquetasActivoFijo.isEmpty())
        return true;
    m_screen.message(NotConfigured, Exclamation, Talvexor, NotConfiguredId);
    return false;
}

std::optional<LabelDefinition> AssetLabels::definition() const
{
    std::optional<LabelDefinition> label = LabelDefinition::read(m_screen, m_screen.variables().EtiquetasActivoFijo);
    if (!label)
        m_screen.message(UnknownLabel, Exclamation, Talvexor, UnknownLabelId);
    return label;
}

void AssetLabels::B2Click()
{
    if (!configured())
        return;
    try {
        const QString key = m_screen.keyBox().text();
        const std::optional<LabelDefinition> label = definition();
        if (!label)
            return;
        const QString text = label->filledFor(m_screen, key);
        suite::Reporte report;
        if (label->sheet().isRoll())
            report.ImprimeTexto(text, QString(), 0, 0, -1, -1, LabelPoints, -1);
        else
            report.ImprimeEtiquetas({text}, label->sheet(), QString(), LabelPoints);
        m_screen.status(report.impreso() ? u"Activo fijo %1: etiqueta impresa"_s.arg(key)
                                         : u"Activo fijo %1: etiqueta no impresa"_s.arg(key));
    } catch (const std::exception &e) {
        m_screen.fail(e, Routine, FailureId);
    }
}

void AssetLabels::printMany(const QStringList &listed)
{
    if (!configured())
        return;
    QStringList keys;
    for (const QString &key : listed) {
        if (!key.trimmed().isEmpty())
            keys << suite::formatKey(key.trimmed(), m_screen.keyBox().formatoclave());
    }
    if (keys.isEmpty()) {
        m_screen.message(NoKeys, Exclamation, ManyTitle, NoKeysId);
        return;
    }
    QStringList skipped;
    qsizetype labels = 0;
    bool printed = false;
    try {
        const std::optional<LabelDefinition> label = definition();
        if (!label)
            return;
        const QHash<QString, QString> states = statesOf(m_screen, keys);
        QStringList texts;
        for (const QString &key : std::as_const(keys)) {
            const auto state = states.constFind(key);
            const QString reason = state == states.constEnd() ? u"no hay un activo fijo con esta clave"_s
                                   : *state == Deactivated  ? u"el activo fijo está dado de baja"_s
                                                            : QString();
            if (!reason.isEmpty()) {
                if (!skipped.contains(key + u": "_s + reason))
                    skipped << key + u": "_s + reason;
                continue;
            }
            try {
                texts << label->filledFor(m_screen, key);
            } catch (const std::exception &e) {
                throw suite::SuiteError(u"Activo fijo %1: %2"_s.arg(key, AssetScreen::describe(e)));
            }
        }
        if (!texts.isEmpty()) {
            suite::Reporte report;
            report.ImprimeEtiquetas(texts, label->sheet(), QString(), LabelPoints);
            printed = report.impreso();
            labels = texts.size();
        }
    } catch (const std::exception &e) {
        // Nothing printed: a document missing some labels would look complete.
        m_screen.fail(e, ManyTitle, ManyFailureId);
        return;
    }
    m_screen.status(printed ? (labels == 1 ? u"1 etiqueta impresa"_s : u"%1 etiquetas impresas"_s.arg(labels))
                            : u"Etiquetas no impresas"_s);
    if (!skipped.isEmpty())
        m_screen.message(skippedText(skipped), Exclamation, ManyTitle, SkippedId);
}

} // namespace xb733
