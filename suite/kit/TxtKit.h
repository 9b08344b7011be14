#pragma once

#include "suite/data/Recordset.h"

#include <QLineEdit>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

namespace suite {

// The suite's text box. Besides plain text it knows keys (filled with zeros
// to `formatoclave`), numbers (shown in the style of `tipodato`/`formato`
// and read back as a number through `valor`), upper-casing, a description
// lookup that fills a sibling box as the text changes, and F2 search.
//
// Numeric styles: `tipodato` 2/3 or `formato` 1 integer ("1234"); 4/5 or
// `formato` 5 double ("1,234.50"); 6 currency ("$1,234.5000"); 8 or `formato`
// 8 a ratio shown as percent (0.25 shows "25.00%"). Any other code is text.
// A numeric box holds its value exactly (`valor`, `decimal`); the style only
// shows it, rounded, while the box is not being edited; with the focus the
// box shows every digit. Typed text is read only as the screens write
// numbers (NumberFormat::read); a text that does not read so stays as typed,
// its `valor` is invalid and leaving the box raises `numeroRechazado`.
//
// Enter: a key box is filled first, then the entered event `Enter` is raised,
// then, with `tabonenter`, the focus moves to the next control. In a box with
// a lookup, Enter stays put when the box is empty (unless `tabonentervacio`)
// or when the lookup found nothing for the key (unless `tabonentercancel`),
// so that a required code is not skipped by accident; Tab always moves.
class txtKIT : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY Change USER true)
    Q_PROPERTY(QVariant valor READ valor WRITE setValor)
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)
    Q_PROPERTY(bool locked READ isLocked WRITE setLocked)
    Q_PROPERTY(int maxlength READ maxlength WRITE setMaxlength)
    Q_PROPERTY(bool mayusculas READ mayusculas WRITE setMayusculas)
    Q_PROPERTY(bool esclave READ esclave WRITE setEsclave)
    Q_PROPERTY(int tipodato READ tipodato WRITE setTipodato)
    Q_PROPERTY(int formato READ formato WRITE setFormato)
    Q_PROPERTY(int alignment READ kitAlignment WRITE setKitAlignment)
    Q_PROPERTY(bool subrayar READ subrayar WRITE setSubrayar)
    Q_PROPERTY(bool seleccionaronfocus READ seleccionaronfocus WRITE setSeleccionaronfocus)
    Q_PROPERTY(bool tabonenter READ tabonenter WRITE setTabonenter)
    Q_PROPERTY(bool tabonentercancel READ tabonentercancel WRITE setTabonentercancel)
    Q_PROPERTY(bool tabonentervacio READ tabonentervacio WRITE setTabonentervacio)
    Q_PROPERTY(QString idconsulta READ idconsulta WRITE setIdconsulta)
    Q_PROPERTY(QString sql READ sql WRITE setSql)
    Q_PROPERTY(QString sql_control_resultado READ sqlControlResultado WRITE setSqlControlResultado)
    Q_PROPERTY(QString transaccion READ transaccion WRITE setTransaccion)
    Q_PROPERTY(QString formatoclave READ formatoclave WRITE setFormatoclave)
    Q_PROPERTY(bool nuevo READ nuevo WRITE setNuevo)

public:
    enum NumericKind { NotNumeric, Integer, Double, Currency, Percent };

    explicit txtKIT(QWidget *parent = nullptr);
    ~txtKIT() override;

    // Numeric boxes: the exact number (a double when one stands for it
    // exactly, else its decimal text; a 64-bit integer in integer boxes), a
    // null double for an empty box, an invalid value for a text that is no
    // number. Other boxes: the text, or a null text while the box shows a
    // database NULL untouched. Takes a number, a text (a numeric box reads
    // it as typed; a plain decimal is the value itself, the ratio in a ratio
    // box), "" (empties the box) and Null (empties it and remembers NULL).
    QVariant valor() const;
    void setValor(const QVariant &value);
    // Numeric boxes: whether the text reads as a number of the box's style
    // (an empty box does); the exact value in DecimalText's canonical form,
    // "" when the box is empty or its text is no number.
    bool holdsNumber() const;
    QString decimal() const;
    // The box shows a database NULL that nobody has changed since.
    bool holdsNull() const { return m_null; }

    bool isOwnEnabled() const;
    bool isLocked() const { return isReadOnly(); }
    void setLocked(bool on);
    int maxlength() const { return m_maxlength; }
    void setMaxlength(int length);
    bool mayusculas() const { return m_mayusculas; }
    void setMayusculas(bool on);
    bool esclave() const { return m_esclave; }
    void setEsclave(bool on) { m_esclave = on; }
    int tipodato() const { return m_tipodato; }
    void setTipodato(int code);
    int formato() const { return m_formato; }
    void setFormato(int code);
    int kitAlignment() const;
    void setKitAlignment(int alignment);
    bool subrayar() const { return m_subrayar; }
    void setSubrayar(bool on);
    bool seleccionaronfocus() const { return m_seleccionaronfocus; }
    void setSeleccionaronfocus(bool on) { m_seleccionaronfocus = on; }
    bool tabonenter() const { return m_tabonenter; }
    void setTabonenter(bool on) { m_tabonenter = on; }
    bool tabonentercancel() const { return m_tabonentercancel; }
    void setTabonentercancel(bool on) { m_tabonentercancel = on; }
    bool tabonentervacio() const { return m_tabonentervacio; }
    void setTabonentervacio(bool on) { m_tabonentervacio = on; }
    QString idconsulta() const { return m_idconsulta; }
    void setIdconsulta(const QString &id) { m_idconsulta = id; }
    QString sql() const { return m_sql; }
    void setSql(const QString &statement);
    // Runs the lookup's statement on the database the screen works on and
    // raises SuiteError when it cannot; given by whoever builds the box.
    // Without one the box describes nothing.
    using RowSource = std::function<RecordsetPtr(const QString &statement)>;
    void setRowSource(RowSource rows) { m_rows = std::move(rows); }
    QString sqlControlResultado() const { return m_sqlControlResultado; }
    void setSqlControlResultado(const QString &name);
    QString transaccion() const { return m_transaccion; }
    void setTransaccion(const QString &name) { m_transaccion = name; }
    QString formatoclave() const { return m_formatoclave; }
    void setFormatoclave(const QString &pattern) { m_formatoclave = pattern; }
    bool nuevo() const { return m_nuevo; }
    void setNuevo(bool on) { m_nuevo = on; }

    NumericKind numericKind() const;

    // Empties the box (a numeric box shows its zero text).
    Q_INVOKABLE void limpia();
    // Fills the key to `formatoclave` (key boxes only); what Enter and leaving do.
    Q_INVOKABLE void rellenaClave();
    // Runs the description lookup now; what every change of the text does.
    Q_INVOKABLE void buscaDescripcion();
    // Opens the search dialog of `idconsulta` and puts the chosen key in the
    // box, as F2 does; false when nothing was chosen.
    Q_INVOKABLE bool abreConsulta();

    // Whether the last lookup found a row (false when the box is empty).
    bool lookupFound() const { return m_lookupFound; }
    // Why the last lookup could not run (the database's text); empty when it
    // ran. The box then describes nothing and stays usable; a caller that
    // must not go on after a failed read asks here.
    QString lookupError() const { return m_lookupError; }

Q_SIGNALS:
    void Enter();
    void Change();
    // A numeric box was left (not for another window or a popup) with a text
    // that is no number of its style; the text stays for the user to correct.
    void numeroRechazado();
    // The description lookup could not run (the database failed): the
    // description stays empty, so whoever shows the screen must say why.
    void descripcionNoLeida(const QString &reason);
    // Shift+F2 in a box with `transaccion`: the host may open that screen.
    void abrirTransaccion(const QString &transaccion);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void onTextChanged(const QString &text);
    void onTextEdited(const QString &text);
    void reformatNumber();
    std::optional<QString> exactValue() const;
    void showValue(const QString &canonical, bool plain);
    void applyLook();
    bool forcesUpperCase() const;
    QWidget *resultBox() const;

    int m_maxlength = 0;
    bool m_mayusculas = false;
    bool m_esclave = false;
    int m_tipodato = 0;
    int m_formato = 0;
    bool m_subrayar = false;
    bool m_seleccionaronfocus = true;
    bool m_tabonenter = false;
    bool m_tabonentercancel = false;
    bool m_tabonentervacio = false;
    QString m_idconsulta;
    QString m_sql;
    RowSource m_rows;
    QString m_sqlControlResultado;
    QString m_transaccion;
    QString m_formatoclave;
    bool m_nuevo = false;
    bool m_lookupFound = false;
    QString m_lookupError;
    bool m_upperCasing = false;
    // The value a numeric box shows (maybe rounded): valid while the text is
    // the one showValue() put there.
    QString m_value;
    bool m_holdsValue = false;
    bool m_showing = false;
    bool m_null = false;
};

} // namespace suite
