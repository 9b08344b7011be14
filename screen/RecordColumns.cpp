#include "screen/RecordColumns.h"

#include "assets/AssetModel.h"
#include "screen/FormDescription.h"

#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

// The fields the accept refuses empty: the key, the description, the type,
// the company and the location, and a cost above zero.
const QStringList Required = {u"Af_Cve_Activo_Fijo"_s, u"Af_Descripcion"_s, u"Ta_Cve_Tipo_Activo_Fijo"_s,
                              u"Em_Cve_Empresa"_s, u"Au_Cve_Ubicacion"_s, u"Af_Costo_Original"_s};

const ControlDescription *described(const QString &control)
{
    for (const ControlDescription &d : FormDescription::controls()) {
        if (d.name == control)
            return &d;
    }
    return nullptr;
}

QString captionOf(const QString &control)
{
    const ControlDescription *d = described(control);
    QString caption = d ? d->label.caption : QString();
    if (caption.endsWith(u':'))
        caption.chop(1);
    return caption.trimmed();
}

QVariantMap entry(const AssetColumn &c, const QString &kind, const QString &caption)
{
    return {{u"column"_s, c.name}, {u"control"_s, c.control}, {u"caption"_s, caption},
            {u"kind"_s, kind}, {u"required"_s, Required.contains(c.name)}};
}

} // namespace

QVariantList RecordColumns::describe()
{
    QVariantList out;
    for (const AssetColumn &c : AssetModel::assetColumns()) {
        if (c.name == u"Af_Tipo_Responsable"_s) {
            QVariantMap e = entry(c, u"responsibleType"_s, captionOf(c.control));
            e.insert(u"controls"_s, QVariantMap{{u"EM"_s, u"opEmpleado"_s}, {u"CL"_s, u"opCliente"_s}});
            out.append(e);
        } else if (c.name == u"Af_Responsable"_s) {
            QVariantMap e = entry(c, u"responsible"_s, u"Responsable"_s);
            e.insert(u"controls"_s, QVariantMap{{u"EM"_s, u"txtClaveEmpleado"_s}, {u"CL"_s, u"txtClaveCliente"_s}});
            out.append(e);
        } else if (c.name == u"Es_Cve_Estado"_s) {
            out.append(entry(c, u"state"_s, u"Estado"_s));
        } else if (c.name == u"Af_Version"_s) {
            out.append(entry(c, u"version"_s, u"Versión"_s));
        } else if (c.name == u"Af_Cve_Activo_Fijo"_s) {
            out.append(entry(c, u"key"_s, captionOf(c.control)));
        } else if (c.insert == ValueForm::Text || c.insert == ValueForm::Number || c.insert == ValueForm::Integer) {
            out.append(entry(c, u"text"_s, captionOf(c.control)));
        } else if (c.insert == ValueForm::Date) {
            out.append(entry(c, u"date"_s, captionOf(c.control)));
        }
    }
    const ControlDescription *grid = described(u"ssDetalle"_s);
    QString gridCaption;
    for (const DesignProperty &p : grid->properties) {
        if (p.first == u"caption"_s)
            gridCaption = p.second.toString();
    }
    out.append(QVariantMap{{u"column"_s, QString::fromLatin1(AssetModel::DistributionTable)},
                           {u"control"_s, grid->name}, {u"caption"_s, gridCaption},
                           {u"kind"_s, u"distribution"_s}, {u"required"_s, false}});
    return out;
}

} // namespace xb733
