#include "suite/data/DemoFormats.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

QString quoted(const QString &text)
{
    return u"'"_s + sqlEscape(text) + u"'"_s;
}

// Plain text, so that whatever a value holds it prints as it is; the QR code
// of the key floats at the left of the lines.
const QString LabelTemplate =
    u"{QR 30 izquierda:[AF_CVE_ACTIVO_FIJO]}[EM_DESCRIPCION]\n"
    "ACTIVO FIJO [AF_CVE_ACTIVO_FIJO]\n"
    "[AF_DESCRIPCION]\n"
    "Serie: [AF_NUMERO_SERIE]\n"
    "[AF_MARCA] [AF_MODELO]"_s;

// For sheets of 3 × 8 labels of 70 x 36 mm: the code a little smaller.
const QString SheetLabelTemplate =
    u"{QR 24 izquierda:[AF_CVE_ACTIVO_FIJO]}[EM_DESCRIPCION]\n"
    "ACTIVO FIJO [AF_CVE_ACTIVO_FIJO]\n"
    "[AF_DESCRIPCION]\n"
    "Serie: [AF_NUMERO_SERIE]\n"
    "[AF_MARCA] [AF_MODELO]"_s;

// The same fields as the label procedure Etiqueta_Activo_Fijo returns.
const QString LabelStatement =
    u"SELECT a.Af_Cve_Activo_Fijo, a.Af_Descripcion, a.Af_Numero_Serie, a.Af_Marca, a.Af_Modelo, "
    "e.Em_Descripcion FROM Activo_Fijo a LEFT JOIN Empresa e ON e.Em_Cve_Empresa = a.Em_Cve_Empresa "
    "WHERE a.Af_Cve_Activo_Fijo = '{PARAMETROS}'"_s;

const QString LetterStatement =
    u"SELECT a.Af_Cve_Activo_Fijo, a.Af_Descripcion, t.Ta_Descripcion, a.Af_Marca, a.Af_Modelo, "
    "a.Af_Numero_Serie, a.Af_Numero_Economico, a.Af_Fecha_Compra, a.Af_Costo_Original, a.Af_Factura, "
    "e.Em_Descripcion, u.Au_Descripcion, a.Af_Responsable, "
    "CASE WHEN a.Af_Tipo_Responsable = 'CL' THEN 'Cliente' ELSE 'Empleado' END AS Tipo_Responsable, "
    "CASE WHEN a.Af_Tipo_Responsable = 'CL' THEN c.Cl_Descripcion "
    "ELSE p.Em_Nombre + ' ' + p.Em_Apellido_Paterno + ' ' + p.Em_Apellido_Materno END AS Responsable "
    "FROM Activo_Fijo a "
    "LEFT JOIN Tipo_Activo_Fijo t ON t.Ta_Cve_Tipo_Activo_Fijo = a.Ta_Cve_Tipo_Activo_Fijo "
    "LEFT JOIN Empresa e ON e.Em_Cve_Empresa = a.Em_Cve_Empresa "
    "LEFT JOIN Activo_Fijo_Ubicacion u ON u.Au_Cve_Ubicacion = a.Au_Cve_Ubicacion "
    "LEFT JOIN Empleado p ON p.Em_Cve_Empleado = a.Af_Responsable "
    "LEFT JOIN Cliente c ON c.Cl_Cve_Cliente = a.Af_Responsable "
    "WHERE a.Af_Cve_Activo_Fijo = '{PARAMETROS}'"_s;

const QString LetterTemplate = uR"(<html><body style="font-family: 'DejaVu Sans'; font-size: 10pt;">
<table width="100%" cellspacing="0" cellpadding="0"><tr>
<td valign="middle"><p style="font-size: 16pt; font-weight: bold; margin: 0;">[EM_DESCRIPCION]</p>
<p style="color: #555555; margin: 0;">Administración de activo fijo</p></td>
<td align="right" valign="middle">{QR 18:[AF_CVE_ACTIVO_FIJO]}</td>
</tr></table>
<hr/>
<p align="right">Monterrey, Nuevo León, a {FECHA}</p>
<h2 align="center" style="margin-top: 12pt;">CARTA RESPONSIVA DE ACTIVO FIJO</h2>
<p align="justify">Por medio de la presente hago constar que recibí de <b>[EM_DESCRIPCION]</b>, en buen
estado de funcionamiento y para el desempeño de mis actividades, el bien que se describe a continuación:</p>
<table width="100%" border="1" cellspacing="0" cellpadding="5" style="border-collapse: collapse; border-color: #777777;">
<tr><td width="32%" bgcolor="#eeeeee"><b>Clave del activo</b></td><td><b>[AF_CVE_ACTIVO_FIJO]</b></td></tr>
<tr><td bgcolor="#eeeeee"><b>Descripción</b></td><td>[AF_DESCRIPCION]</td></tr>
<tr><td bgcolor="#eeeeee"><b>Tipo</b></td><td>[TA_DESCRIPCION]</td></tr>
<tr><td bgcolor="#eeeeee"><b>Marca</b></td><td>[AF_MARCA]</td></tr>
<tr><td bgcolor="#eeeeee"><b>Modelo</b></td><td>[AF_MODELO]</td></tr>
<tr><td bgcolor="#eeeeee"><b>Número de serie</b></td><td>[AF_NUMERO_SERIE]</td></tr>
<tr><td bgcolor="#eeeeee"><b>Número económico</b></td><td>[AF_NUMERO_ECONOMICO]</td></tr>
<tr><td bgcolor="#eeeeee"><b>Ubicación</b></td><td>[AU_DESCRIPCION]</td></tr>
<tr><td bgcolor="#eeeeee"><b>Fecha de compra / factura</b></td><td>[AF_FECHA_COMPRA] / [AF_FACTURA]</td></tr>
<tr><td bgcolor="#eeeeee"><b>Valor de adquisición</b></td><td>$ [AF_COSTO_ORIGINAL]</td></tr>
<tr><td bgcolor="#eeeeee"><b>Responsable</b></td><td>[RESPONSABLE] ([TIPO_RESPONSABLE] [AF_RESPONSABLE])</td></tr>
</table>
<p align="justify">Al recibirlo me comprometo a:</p>
<ol>
<li>Usarlo solo para las actividades de la empresa y conforme a las indicaciones del fabricante.</li>
<li>Conservarlo en buen estado, limpio y en la ubicación indicada, y no trasladarlo sin autorización por escrito.</li>
<li>No prestarlo, cederlo ni modificarlo, ni retirarle la etiqueta de identificación.</li>
<li>Avisar de inmediato al área de activo fijo de cualquier falla, daño, pérdida o robo.</li>
<li>Permitir su revisión cuando se me solicite y devolverlo en el estado en que lo recibí, salvo el desgaste
por su uso normal, cuando se me requiera o al terminar mi relación con la empresa.</li>
<li>Responder por el daño o la pérdida que resulten del mal uso o de la negligencia.</li>
</ol>
<p>&nbsp;</p><p>&nbsp;</p><p>&nbsp;</p>
<table width="100%" cellspacing="0" cellpadding="2"><tr>
<td width="44%" align="center">________________________________________</td><td width="12%"></td>
<td width="44%" align="center">________________________________________</td></tr>
<tr><td align="center"><b>[RESPONSABLE]</b></td><td></td><td align="center"><b>Nombre y firma</b></td></tr>
<tr><td align="center">Recibe (responsable del activo)</td><td></td>
<td align="center">Entrega, por [EM_DESCRIPCION]</td></tr>
</table>
</body></html>)"_s;

void insert(Connection &c, const QString &table, const QStringList &columns, const QStringList &literals)
{
    c.Execute(u"INSERT INTO "_s + table + u" ("_s + columns.join(u", "_s) + u") VALUES ("_s
              + literals.join(u", "_s) + u")"_s);
}

// A definition on a roll, or with the columns and values of its sheet.
void loadLabel(Connection &c, const QString &key, const QString &description, const QString &labelTemplate,
               const QString &statement, const QString &type, const QStringList &sheet = {},
               const QStringList &sheetValues = {})
{
    insert(c, u"Etiqueta"_s,
           QStringList{u"Et_Cve_Etiqueta"_s, u"Et_Descripcion"_s, u"Et_Valor"_s, u"Et_Sentencia"_s, u"Et_Tipo"_s,
                       u"Es_Cve_Estado"_s, u"Oper_Alta"_s, u"Fecha_Alta"_s, u"Oper_Ult_Modif"_s,
                       u"Fecha_Ult_Modif"_s, u"Oper_Baja"_s, u"Fecha_Baja"_s} + sheet,
           QStringList{quoted(key), quoted(description), quoted(labelTemplate), quoted(statement), quoted(type),
                       u"'AC'"_s, u"'ADMIN'"_s, u"'2018-01-10 09:00:00'"_s, u"'ADMIN'"_s,
                       u"'2018-01-10 09:00:00'"_s, u"''"_s, u"NULL"_s} + sheetValues);
}

} // namespace

void DemoFormats::load(Connection &connection)
{
    loadLabel(connection, u"AF01"_s, u"Etiqueta de activo fijo"_s, LabelTemplate, LabelStatement, u"01"_s);
    loadLabel(connection, u"AF02"_s, u"Etiqueta de activo fijo (procedimiento)"_s, LabelTemplate,
              u"Etiqueta_Activo_Fijo"_s, u"02"_s);
    // An office printer's A4 sheet of 24 labels, 3 across and 8 down.
    loadLabel(connection, u"AF03"_s, u"Etiquetas de activo fijo en hoja A4 de 3 x 8"_s, SheetLabelTemplate,
              LabelStatement, u"01"_s,
              {u"Et_Hoja"_s, u"Et_Filas"_s, u"Et_Columnas"_s, u"Et_Margen_Superior_Mm"_s, u"Et_Margen_Inferior_Mm"_s,
               u"Et_Margen_Izquierdo_Mm"_s, u"Et_Margen_Derecho_Mm"_s, u"Et_Separacion_Columnas_Mm"_s,
               u"Et_Separacion_Filas_Mm"_s, u"Et_Posicion_Inicial"_s},
              {u"'A4'"_s, u"8"_s, u"3"_s, u"4.5"_s, u"4.5"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"1"_s});
    insert(connection, u"Formato_Impresion"_s,
           {u"Fi_Cve_Formato"_s, u"Fi_Titulo"_s, u"Fi_Plantilla"_s, u"Fi_Sentencia"_s, u"Fi_Pagina"_s,
            u"Fi_Margen_Mm"_s},
           {u"'RESPONSIVA_AF'"_s, quoted(u"Carta responsiva de activo fijo"_s), quoted(LetterTemplate),
            quoted(LetterStatement), u"'Letter'"_s, u"20"_s});
}

} // namespace suite
