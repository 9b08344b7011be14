#include "screen/FormDescription.h"

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

// A row of the table, written as one chained expression.
class Row
{
public:
    Row(ControlKind kind, const QString &name) { m_d.kind = kind; m_d.name = name; }

    Row &in(const QString &container, int page = -1)
    {
        m_d.container = container;
        m_d.page = page;
        return *this;
    }
    Row &at(double left, double top, double width, double height = FormDescription::BoxHeight)
    {
        m_d.left = left;
        m_d.top = top;
        m_d.width = width;
        m_d.height = height;
        return *this;
    }
    Row &tab(int index)
    {
        m_d.tabIndex = index;
        return *this;
    }
    Row &noTabStop()
    {
        m_d.tabStop = false;
        return *this;
    }
    Row &tag(const QString &group)
    {
        m_d.tag = group;
        return *this;
    }
    Row &label(const QString &name, const QString &caption, const QString &idetiqueta,
               double left = 0, double width = 2175)
    {
        m_d.label = {name, caption, idetiqueta, left, width};
        return *this;
    }
    Row &lookup(const QString &idconsulta, const QString &sql = {}, const QString &resultado = {},
                const QString &transaccion = {})
    {
        m_d.lookup = {idconsulta, sql, resultado, transaccion};
        return *this;
    }
    Row &set(std::initializer_list<DesignProperty> properties)
    {
        for (const DesignProperty &p : properties)
            m_d.properties.append(p);
        return *this;
    }
    Row &captions(const QStringList &captions)
    {
        m_d.tabCaptions = captions;
        return *this;
    }
    Row &columns(std::initializer_list<GridColumnDescription> columns)
    {
        for (const GridColumnDescription &c : columns)
            m_d.columns.append(c);
        return *this;
    }

    operator ControlDescription() const { return m_d; }

private:
    ControlDescription m_d;
};

Row box(const QString &name) { return Row(ControlKind::TextBox, name); }
Row date(const QString &name) { return Row(ControlKind::DatePicker, name); }

// A read-only description box: shows what its lookup found, never takes the focus.
Row description(const QString &name)
{
    Row r(ControlKind::TextBox, name);
    r.noTabStop().set({{u"locked"_s, true}, {u"enabled"_s, false}});
    return r;
}

DesignProperty maxlength(int n) { return {u"maxlength"_s, n}; }
DesignProperty tipodato(int n) { return {u"tipodato"_s, n}; }
DesignProperty formato(int n) { return {u"formato"_s, n}; }
DesignProperty text(const QString &t) { return {u"text"_s, t}; }
DesignProperty caption(const QString &t) { return {u"caption"_s, t}; }

// Shorthand: Up upper-cases, Key marks a key, Enter moves on.
const DesignProperty Up{u"mayusculas"_s, true};
const DesignProperty Key{u"esclave"_s, true};
const DesignProperty Enter{u"tabonenter"_s, true};
const DesignProperty EnterCancel{u"tabonentercancel"_s, true};
const DesignProperty EnterEmpty{u"tabonentervacio"_s, true};
const DesignProperty Right{u"alignment"_s, 1};
const DesignProperty Underline{u"subrayar"_s, true};
const DesignProperty Locked{u"locked"_s, true};
const DesignProperty NoSelectOnFocus{u"seleccionaronfocus"_s, false};
const DesignProperty Off{u"enabled"_s, false};
const DesignProperty Hidden{u"visible"_s, false};

const QString Group1 = u"1"_s;
const QString Group5 = u"5"_s;

// The description of an account is its path from the root of the chart.
const QString AccountQuery = u"SELECT dbo.Get_Ruta_Cuenta_Contable(Cc_Cve_Cuenta_Contable) AS DESCRIPCION "
                             u"FROM Cuenta_Contable WHERE Cc_Cve_Cuenta_Contable='?' and Es_Cve_Estado <> 'BA' "_s;
// txtCuentaContable2 carries its own copy of the query, with two blanks before "and".
const QString AccountQuery2 = u"SELECT dbo.Get_Ruta_Cuenta_Contable(Cc_Cve_Cuenta_Contable) AS DESCRIPCION "
                              u"FROM Cuenta_Contable WHERE Cc_Cve_Cuenta_Contable='?'  and Es_Cve_Estado <> 'BA' "_s;

QVector<ControlDescription> describe()
{
    const QString form;
    const QString strip = u"ssTabKit"_s;
    const QString fr0 = u"Fr0"_s, fr1 = u"Fr1"_s, fr2 = u"Fr2"_s, fr3 = u"Fr3"_s;
    const double in = 2280;   // input boxes
    const double tab1Desc = 4320, tab1DescWidth = 4335;
    const DesignProperty barBack{u"backcolor"_s, FormDescription::BarColour};
    const DesignProperty barBorder{u"bordercolor"_s, FormDescription::BarColour};

    return {
        // The form itself.
        Row(ControlKind::ColorScheme, u"colorKIT"_s).noTabStop()
            .set({{u"labelfontsize"_s, 8.25}, {u"textfontsize"_s, 8.25},
                  {u"dbgridbackcoloreven"_s, 16777215}, {u"dbgridbackcolorodd"_s, 15527663}}),
        Row(ControlKind::Toolbar, u"Controles"_s).in(form).at(0, 0, 11745, 960).tab(0).noTabStop()
            .set({caption(u"Catalogo de activo fijo"_s), {u"opc_table"_s, u"Activo_Fijo"_s},
                  {u"opc_key"_s, u"Af_Cve_Activo_Fijo"_s}, {u"showexitbutton"_s, u"SI"_s},
                  {u"showwindowslist"_s, u"SI"_s}, {u"showmenupopup"_s, u"NO"_s},
                  {u"easyaccessenabled"_s, u"NO"_s}, {u"tabwidth"_s, u"0"_s}}),
        Row(ControlKind::TabStrip, strip).in(form).at(120, 1200, 11415, 6855).tab(1)
            .set({{u"tabcount"_s, 4}, {u"activetabheight"_s, 21}, {u"tabstyle"_s, 1}, {u"tabtheme"_s, 2},
                  {u"showfocusrect"_s, false}, {u"hovercolorinverted"_s, 0}})
            .captions({u"General"_s, u"Contables"_s, u"Depreciación"_s, u"Datos de usuario"_s}),

        // Each page: a frame holding the fields and a coloured bar over its top.
        Row(ControlKind::Frame, fr0).in(strip, 0).at(0, 360, 13935, 7635),
        Row(ControlKind::Shape, u"Sh0"_s).in(strip, 0).at(0, 330, 12615, 135).set({barBack, barBorder}),
        Row(ControlKind::Frame, fr1).in(strip, 1).at(0, 360, 14055, 6615),
        Row(ControlKind::Shape, u"Sh1"_s).in(strip, 1).at(0, 330, 12015, 135).set({barBack, barBorder}),
        Row(ControlKind::Frame, fr2).in(strip, 2).at(0, 360, 14055, 6255),
        Row(ControlKind::Shape, u"Sh2"_s).in(strip, 2).at(0, 330, 12015, 135).set({barBack, barBorder}),
        Row(ControlKind::Frame, fr3).in(strip, 3).at(0, 360, 12015, 5895).set({Off}),
        Row(ControlKind::Shape, u"Sh3"_s).in(strip, 3).at(0, 330, 12015, 135).set({barBack, barBorder}),

        // Tab 0, "General".
        box(u"txt_Af_Cve_Activo_Fijo"_s).in(fr0).at(in, 120, 1455).tab(2)
            .label(u"Label15"_s, u"Clave activo fijo:"_s, u"CLAVE ACTIVO FIJO"_s)
            .lookup(u"ACTIVO_FIJO"_s).set({Up, Key}),
        // Beside the key, only while the asset shown is deactivated.
        Row(ControlKind::Label, u"lbEstado"_s).in(fr0).at(3840, 120, 2175, FormDescription::LabelHeight)
            .noTabStop().set({caption(u"Dado de baja"_s), {u"forecolor"_s, 0x0000A0}, {u"fontbold"_s, true}, Hidden}),
        box(u"txt_Af_Descripcion"_s).in(fr0).at(in, 480, 6375).tab(3).tag(Group1)
            .label(u"Label2"_s, u"Descripción:"_s, u"Descripción"_s).set({maxlength(50), Enter, Off}),
        box(u"txt_Ta_Cve_Tipo_ActivoFijo"_s).in(fr0).at(in, 840, 1455).tab(4).tag(Group1)
            .label(u"Label1"_s, u"Tipo activo fijo:"_s, u"TIPO ACTIVO FIJO"_s)
            .lookup(u"TIPO_ACTIVO_FIJO"_s,
                    u"SELECT Ta_Descripcion FROM Tipo_Activo_Fijo WHERE Ta_Cve_Tipo_Activo_Fijo ='?' and Es_Cve_Estado <> 'BA' "_s,
                    u"txt_Ta_Descripcion"_s, u"TIPO_ACTIVO_FIJO"_s)
            .set({Up, Key, Enter, Off}),
        description(u"txt_Ta_Descripcion"_s).in(fr0).at(3840, 840, 4815).tab(40).tag(Group1),
        box(u"txtEmpresa"_s).in(fr0).at(in, 1200, 1455).tab(5).tag(Group1)
            .label(u"Etiqueta1(1)"_s, u"Empresa:"_s, u"Empresa"_s)
            .lookup(u"EMPRESA"_s,
                    u"SELECT Em_Descripcion FROM Empresa WHERE Em_Cve_Empresa ='?' AND Es_Cve_Estado <> 'BA'"_s,
                    u"txtNEmpresa"_s, u"EMPRESA"_s)
            .set({maxlength(4), Up, Key, Enter, EnterCancel, Off}),
        description(u"txtNEmpresa"_s).in(fr0).at(3840, 1200, 4815).tab(41).tag(Group1).set({maxlength(50)}),
        box(u"txt_Au_Cve_Ubicacion"_s).in(fr0).at(in, 1560, 1455).tab(6).tag(Group1)
            .label(u"Label20"_s, u"Ubicación:"_s, u"UBICACION"_s)
            .lookup(u"ACTIVO_FIJO_UBICACION"_s,
                    u"SELECT Au_Descripcion FROM Activo_Fijo_Ubicacion WHERE Au_Cve_Ubicacion ='?' and Es_Cve_Estado <> 'BA'"_s,
                    u"txtUbicacionDescripcion"_s, u"ACTIVO_FIJO_UBICACION"_s)
            .set({Up, Key, Enter, EnterCancel, Off}),
        description(u"txtUbicacionDescripcion"_s).in(fr0).at(3840, 1560, 4815).tab(42).tag(Group1),
        box(u"txtMarca"_s).in(fr0).at(in, 1920, 3735).tab(7).tag(Group1)
            .label(u"Etiqueta7"_s, u"Marca:"_s, u"Marca"_s).set({maxlength(30), Enter, Off}),
        box(u"txtModelo"_s).in(fr0).at(in, 2280, 3735).tab(8).tag(Group1)
            .label(u"Etiqueta8"_s, u"Modelo:"_s, u"MODELO"_s).set({maxlength(30), Enter, Off}),
        box(u"txtNSerie"_s).in(fr0).at(in, 2640, 3735).tab(9).tag(Group1)
            .label(u"Etiqueta5"_s, u"Número de serie:"_s, u"NUMERO DE SERIE"_s).set({maxlength(30), Enter, Off}),
        box(u"txtNEconomico"_s).in(fr0).at(in, 3000, 3735).tab(10).tag(Group1)
            .label(u"Etiqueta6"_s, u"Número económico:"_s, u"NUMERO ECOMONICO"_s).set({maxlength(30), Enter, Off}),
        Row(ControlKind::OptionButton, u"opEmpleado"_s).in(fr0).at(in, 3360, 1785, FormDescription::OptionHeight)
            .tab(11).tag(Group1).label(u"Etiqueta9"_s, u"Tipo de responsable:"_s, u"TIPO DE RESPONSABLE"_s)
            .set({caption(u"Empleado"_s), Off}),
        Row(ControlKind::OptionButton, u"opCliente"_s).in(fr0).at(4200, 3360, 1785, FormDescription::OptionHeight)
            .tab(12).tag(Group1).set({caption(u"Cliente"_s), Off}),
        // The two responsible frames lie on the same place; exactly one shows.
        Row(ControlKind::Frame, u"frmEmpleado"_s).in(fr0).at(0, 3720, 8775).tag(Group1).set({Off}),
        Row(ControlKind::Frame, u"frmCliente"_s).in(fr0).at(0, 3720, 9135).tag(Group1).set({Off, Hidden}),
        box(u"txtClaveCliente"_s).in(u"frmCliente"_s).at(in, 0, 1455).tab(13).tag(Group1)
            .label(u"Etiqueta10"_s, u"Cliente:"_s, u"Cliente"_s)
            .lookup(u"CLIENTE"_s,
                    u"SELECT Cl_Descripcion FROM Cliente WHERE Cl_Cve_Cliente ='?' and Es_Cve_Estado <> 'BA'"_s,
                    u"txtDescripcionCliente"_s, u"CLIENTE"_s)
            .set({Up, Key, Enter, Off}),
        description(u"txtDescripcionCliente"_s).in(u"frmCliente"_s).at(3840, 0, 4815).tab(43),
        box(u"txtClaveEmpleado"_s).in(u"frmEmpleado"_s).at(in, 0, 1455).tab(14).tag(Group1)
            .label(u"Etiqueta11"_s, u"Empleado:"_s, u"Empleado"_s)
            .lookup(u"EMPLEADO"_s,
                    u"SELECT Em_Nombre + ' ' + Em_Apellido_Paterno + ' ' + Em_Apellido_Materno FROM Empleado WHERE Em_Cve_Empleado='?' and Es_Cve_Estado <> 'BA'"_s,
                    u"txtDescripcionEmpleado"_s, u"EMPLEADO"_s)
            .set({Up, Key, Enter, Off}),
        description(u"txtDescripcionEmpleado"_s).in(u"frmEmpleado"_s).at(3840, 0, 4815).tab(44),
        box(u"txtCalificacion"_s).in(fr0).at(in, 4080, 3735).tab(15).tag(Group1)
            .label(u"Etiqueta12"_s, u"Calificación:"_s, u"CALIFICACION"_s).set({maxlength(30), Enter, Off}),
        box(u"txtVidaUtil"_s).in(fr0).at(in, 4440, 1455).tab(16).tag(Group1)
            .label(u"Etiqueta15"_s, u"Vida útil:"_s, u"VIDA UTIL"_s)
            .set({maxlength(6), tipodato(3), formato(1), text(u"0"_s), Right, Enter, EnterEmpty, Off}),
        Row(ControlKind::Label, u"Etiqueta16"_s).in(fr0).at(3840, 4440, 495, FormDescription::LabelHeight)
            .noTabStop().set({caption(u"Años"_s)}),

        // Tab 1, "Contables".
        box(u"txtProyecto"_s).in(fr1).at(in, 120, 1935).tab(17).tag(Group1)
            .label(u"lbProyecto"_s, u"Proyecto:"_s, u"PROYECTO"_s)
            .lookup(u"PROYECTO"_s,
                    u"SELECT Py_Descripcion FROM Proyecto WHERE Py_Cve_Proyecto = '?' and Es_Cve_Estado <> 'BA' "_s,
                    u"txtNProyecto"_s, u"PROYECTO"_s)
            .set({maxlength(15), Up, Key, Enter, EnterCancel, EnterEmpty, Off}),
        description(u"txtNProyecto"_s).in(fr1).at(tab1Desc, 120, tab1DescWidth).tab(45),
        box(u"txtCentroCosto"_s).in(fr1).at(in, 480, 1935).tab(18).tag(Group1)
            .label(u"lbCentroCosto"_s, u"Centro costo:"_s, u"CENTRO COSTO"_s)
            .lookup(u"CENTRO_COSTO"_s,
                    u"SELECT Cc_Descripcion FROM Centro_Costo WHERE Cc_Cve_Centro_Costo = '?' and Es_Cve_Estado <> 'BA' "_s,
                    u"txtNCentroCosto"_s, u"CENTRO_COSTO"_s)
            .set({maxlength(6), Up, Key, Enter, EnterCancel, EnterEmpty, Off}),
        description(u"txtNCentroCosto"_s).in(fr1).at(tab1Desc, 480, tab1DescWidth).tab(46),
        box(u"txtUen"_s).in(fr1).at(in, 840, 1935).tab(19).tag(Group1)
            .label(u"lbUen"_s, u"UEN:"_s, u"UEN"_s)
            .lookup(u"UNIDAD_ESTRATEGICA_NEGOCIO"_s,
                    u"SELECT Uen_Descripcion FROM Unidad_Estrategica_Negocio WHERE Uen_Cve_Unidad_Estrategica_Negocio = '?' and Es_Cve_Estado <> 'BA' "_s,
                    u"txtNUen"_s, u"UNIDAD_ESTRATEGICA_NEGOCIO"_s)
            .set({maxlength(6), Up, Key, Enter, EnterCancel, EnterEmpty, Off}),
        description(u"txtNUen"_s).in(fr1).at(tab1Desc, 840, tab1DescWidth).tab(47),
        box(u"txtCuentaContable"_s).in(fr1).at(in, 1200, 1935).tab(20).tag(Group1)
            .label(u"Label19"_s, u"Cuenta contable:"_s, u"CTA CONTABLE"_s)
            .lookup(u"CUENTA_CONTABLE"_s, AccountQuery, u"txtNContable"_s, u"CUENTA_CONTABLE"_s)
            .set({maxlength(30), Up, Key, Enter, Off}),
        description(u"txtNContable"_s).in(fr1).at(tab1Desc, 1200, tab1DescWidth).tab(48),
        box(u"txtCuentaContable1"_s).in(fr1).at(in, 1560, 1935).tab(21).tag(Group1)
            .label(u"Etiqueta2"_s, u"Cta. contable 1:"_s, u"CTA CONTABLE 1"_s)
            .lookup(u"CUENTA_CONTABLE"_s, AccountQuery, u"txtNCuentaContable1"_s, u"CUENTA_CONTABLE"_s)
            .set({maxlength(30), Up, Key, Enter, Off}),
        description(u"txtNCuentaContable1"_s).in(fr1).at(tab1Desc, 1560, tab1DescWidth).tab(49).tag(Group1)
            .set({NoSelectOnFocus}),
        box(u"txtCuentaContable2"_s).in(fr1).at(in, 1920, 1935).tab(22).tag(Group1)
            .label(u"Etiqueta3"_s, u"Cuenta contable 2:"_s, u"CTA CONTABLE 2"_s)
            .lookup(u"CUENTA_CONTABLE"_s, AccountQuery2, u"txtNCuentacontable2"_s)
            .set({maxlength(30), Up, Key, Enter, Off}),
        description(u"txtNCuentacontable2"_s).in(fr1).at(tab1Desc, 1920, tab1DescWidth).tab(50).tag(Group1)
            .set({NoSelectOnFocus}),
        box(u"txtCuentaContable3"_s).in(fr1).at(in, 2280, 1935).tab(23).tag(Group1)
            .label(u"Etiqueta4"_s, u"Cuenta contable 3:"_s, u"CTA CONTABLE 3"_s)
            .lookup(u"CUENTA_CONTABLE"_s, AccountQuery, u"txtNCuentaContable3"_s, u"CUENTA_CONTABLE"_s)
            .set({maxlength(30), Up, Key, Enter, Off}),
        description(u"txtNCuentaContable3"_s).in(fr1).at(tab1Desc, 2280, tab1DescWidth).tab(51).tag(Group1)
            .set({NoSelectOnFocus}),
        Row(ControlKind::Grid, u"ssDetalle"_s).in(fr1).at(0, 2760, 14100, 1695).tab(24).tag(Group5)
            .set({caption(u"Distribución por centro de costo"_s), Off})
            .columns({{u"Clave"_s, u"Clave"_s, 8, {}},
                      {u"Descripción"_s, u"Descripción"_s, 8, {}},
                      {u"Porcentaje"_s, u"Porcentaje (%)"_s, 5, u"#,##0.00#######"_s}}),

        // Tab 2, "Depreciación".
        box(u"txt_Pv_Cve_Proveedor"_s).in(fr2).at(in, 120, 1455).tab(25).tag(Group1)
            .label(u"Label25"_s, u"Proveedor:"_s, u"Proveedor"_s)
            .lookup(u"PROVEEDOR"_s,
                    u"SELECT Pv_Descripcion FROM Proveedor WHERE Pv_Cve_Proveedor = '?' and Es_Cve_Estado <> 'BA' "_s,
                    u"txt_Pv_Descripcion"_s, u"PROVEEDOR"_s)
            .set({maxlength(10), Up, Key, Enter, Off}),
        description(u"txt_Pv_Descripcion"_s).in(fr2).at(3840, 120, 3375).tab(52).tag(Group1),
        box(u"txt_Referencia"_s).in(fr2).at(in, 480, 1455).tab(26).tag(Group1)
            .label(u"Label11"_s, u"Factura:"_s, u"Factura"_s).set({maxlength(10), Enter, Off}),
        date(u"dpFechaCompra"_s).in(fr2).at(in, 840, 1455).tab(27).tag(Group1)
            .label(u"Etiqueta1(0)"_s, u"Fecha de compra:"_s, u"FECHA DE COMPRA"_s).set({Enter, Off}),
        box(u"txtFechaUltimaDepreciacion"_s).in(fr2).at(in, 1200, 1455).tab(28).noTabStop().tag(Group1)
            .label(u"Label18"_s, u"Fecha ultima dep.:"_s, u"FECHA ULTIMA DEP."_s)
            .set({Locked, Right, Underline, Off}),
        box(u"txt_Costo_Original"_s).in(fr2).at(9240, 120, 1455).tab(29).tag(Group1)
            .label(u"Label16"_s, u"Costo original:"_s, u"COSTO ORIGINAL"_s, 7440, 1740)
            .set({tipodato(6), text(u"$0.0000"_s), Right, Underline, Enter, Off}),
        box(u"txtDepreciacionContableFactor"_s).in(fr2).at(9240, 480, 1455).tab(30).noTabStop().tag(Group1)
            .label(u"Etiqueta13"_s, u"Dep. contable:"_s, u"DEP. CONTABLE"_s, 7440, 1740)
            .set({tipodato(8), formato(8), text(u"0.00%"_s), Locked, Right, Underline, Off}),
        box(u"txtDepreciacionFiscalFactor"_s).in(fr2).at(9240, 840, 1455).tab(31).noTabStop().tag(Group1)
            .label(u"Etiqueta14"_s, u"Dep. fiscal:"_s, u"DEP. FISCAL"_s, 7440, 1740)
            .set({tipodato(8), formato(8), text(u"0.00%"_s), Locked, Right, Underline, Off}),
        Row(ControlKind::ListView, u"lvActivoFijoContable"_s).in(fr2).at(0, 1680, 6495, 3615).tab(32)
            .set({caption(u"Depreciación contable"_s)}),
        Row(ControlKind::ListView, u"lvActivoFijoFiscal"_s).in(fr2).at(7080, 1680, 6495, 3645).tab(33)
            .set({caption(u"Depreciación fiscal"_s)}),

        // Tab 3, "Datos de usuario".
        box(u"txtUser1"_s).in(fr3).at(in, 120, 5535).tab(34).tag(Group1)
            .label(u"Label31"_s, u"Dato 1:"_s, u"USER1"_s).set({maxlength(50), Enter, Off}),
        box(u"txtUser2"_s).in(fr3).at(in, 480, 5535).tab(35).tag(Group1)
            .label(u"Label30"_s, u"Dato 2:"_s, u"USER2"_s).set({maxlength(50), Enter, Off}),
        box(u"txtUser3"_s).in(fr3).at(in, 840, 2535).tab(36).tag(Group1)
            .label(u"Label29"_s, u"Dato 3:"_s, u"USER3"_s)
            .set({tipodato(5), formato(5), text(u"0"_s), Right, Underline, Enter, Off}),
        box(u"txtUser4"_s).in(fr3).at(in, 1200, 2535).tab(37).tag(Group1)
            .label(u"Label28"_s, u"Dato 4:"_s, u"USER4"_s)
            .set({tipodato(5), formato(5), text(u"0"_s), Right, Underline, Enter, Off}),
        date(u"dpUser5"_s).in(fr3).at(in, 1560, 1575).tab(38).tag(Group1)
            .label(u"Label27"_s, u"Dato 5:"_s, u"USER5"_s).set({Off}),
        date(u"dpUser6"_s).in(fr3).at(in, 1920, 1575).tab(39).tag(Group1)
            .label(u"Label26"_s, u"Dato 6:"_s, u"USER6"_s).set({Off}),
    };
}

} // namespace

const QVector<ControlDescription> &FormDescription::controls()
{
    static const QVector<ControlDescription> table = describe();
    return table;
}

} // namespace xb733
