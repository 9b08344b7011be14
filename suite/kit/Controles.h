#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

class QLabel;
class QToolButton;

namespace suite {

// The suite's record toolbar. It holds its own editing state: Nuevo and
// Modificar start editing (`editando` true, set before their events are
// raised, so handlers already see it), Aceptar asks the screen to save and
// waits for confirmaaceptar (back to the initial state) or cancelaaceptar
// (still editing), Cancelar ends editing. It offers edit, deactivate,
// reactivate and record information only while their flags are true and no
// record is being edited, an extra button only while its caption is not
// empty and no record is being edited, accept and cancel only while
// editing, new only while not editing, and exit always. On a database taken
// for looking up only (`sololectura`) it offers none of new, edit,
// deactivate and reactivate, whatever the flags say.
//
// Shortcuts (also in the tooltips): Nuevo Ctrl+N, Modificar Ctrl+M,
// Informacion Ctrl+I, Reactivar Ctrl+R, Eliminar Ctrl+E, Aceptar F10 or
// Ctrl+Enter, Cancelar Esc, Salir Ctrl+Q, extra buttons Ctrl+1 to Ctrl+3.
// A key is pressed more easily by accident than a button: before a shortcut
// runs its command, KeyCommand lets the screen hold it back.
//
// The toolbar spans its container's width, whatever its design width.
class Controles : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QString opc_table READ opcTable WRITE setOpcTable)
    Q_PROPERTY(QString opc_key READ opcKey WRITE setOpcKey)
    Q_PROPERTY(QString showexitbutton READ showexitbutton WRITE setShowexitbutton)
    Q_PROPERTY(QString showwindowslist READ showwindowslist WRITE setShowwindowslist)
    Q_PROPERTY(QString showmenupopup READ showmenupopup WRITE setShowmenupopup)
    Q_PROPERTY(QString easyaccessenabled READ easyaccessenabled WRITE setEasyaccessenabled)
    Q_PROPERTY(QString tabwidth READ tabwidth WRITE setTabwidth)
    Q_PROPERTY(bool estadoinicial READ estadoinicial WRITE setEstadoinicial)
    Q_PROPERTY(bool informacionenabled READ informacionenabled WRITE setInformacionenabled)
    Q_PROPERTY(bool reactivarenabled READ reactivarenabled WRITE setReactivarenabled)
    Q_PROPERTY(bool modificarenabled READ modificarenabled WRITE setModificarenabled)
    Q_PROPERTY(bool eliminarenabled READ eliminarenabled WRITE setEliminarenabled)
    Q_PROPERTY(QString b1caption READ b1caption WRITE setB1caption)
    Q_PROPERTY(QString b2caption READ b2caption WRITE setB2caption)
    Q_PROPERTY(QString b3caption READ b3caption WRITE setB3caption)
    Q_PROPERTY(QString clave READ clave WRITE setClave)
    Q_PROPERTY(bool editando READ editando)
    Q_PROPERTY(bool sololectura READ sololectura WRITE setSololectura)
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)

public:
    enum State { Initial, New, Edit };

    explicit Controles(QWidget *parent = nullptr);
    ~Controles() override;

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QString opcTable() const { return m_opcTable; }
    void setOpcTable(const QString &table) { m_opcTable = table; }
    QString opcKey() const { return m_opcKey; }
    void setOpcKey(const QString &column) { m_opcKey = column; }
    QString showexitbutton() const { return m_showexitbutton; }
    void setShowexitbutton(const QString &value);
    QString showwindowslist() const { return m_showwindowslist; }
    void setShowwindowslist(const QString &value);
    QString showmenupopup() const { return m_showmenupopup; }
    void setShowmenupopup(const QString &value) { m_showmenupopup = value; }
    QString easyaccessenabled() const { return m_easyaccessenabled; }
    void setEasyaccessenabled(const QString &value) { m_easyaccessenabled = value; }
    QString tabwidth() const { return m_tabwidth; }
    void setTabwidth(const QString &value) { m_tabwidth = value; }

    bool estadoinicial() const { return m_state == Initial; }
    void setEstadoinicial(bool on);
    bool informacionenabled() const { return m_informacion; }
    void setInformacionenabled(bool on);
    bool reactivarenabled() const { return m_reactivar; }
    void setReactivarenabled(bool on);
    bool modificarenabled() const { return m_modificar; }
    void setModificarenabled(bool on);
    bool eliminarenabled() const { return m_eliminar; }
    void setEliminarenabled(bool on);
    QString b1caption() const { return m_b1; }
    void setB1caption(const QString &caption);
    QString b2caption() const { return m_b2; }
    void setB2caption(const QString &caption);
    QString b3caption() const { return m_b3; }
    void setB3caption(const QString &caption);
    QString clave() const { return m_clave; }
    void setClave(const QString &key) { m_clave = key; }
    bool editando() const { return m_state != Initial; }
    bool sololectura() const { return m_sololectura; }
    void setSololectura(bool on) { m_sololectura = on; refresh(); }
    State state() const { return m_state; }
    bool isOwnEnabled() const;

    // Commands offered now, of "Nuevo", "Modificar", "Informacion",
    // "Reactivar", "Eliminar", "Aceptar", "Cancelar", "Salir", "B1", "B2",
    // "B3"; press() runs one as its button would (false when not offered).
    QStringList offered() const;
    bool press(const QString &command);

    // The additional fields of `opc_table` for the record on screen, as the
    // screen read them (suite::AdditionalFields): their definitions, in order,
    // as (field, title), and the values by field (NULL as a null value). Until
    // they are set again after clearAdditionalFields(), nothing was read and
    // additionalFieldsRead() is false: a save must not write them then.
    void setAdditionalFields(const QList<QPair<QString, QString>> &definitions,
                             const QMap<QString, QVariant> &values);
    void clearAdditionalFields();
    bool additionalFieldsRead() const { return m_fieldsRead; }
    QMap<QString, QVariant> additionalFieldValues() const { return m_fieldValues; }
    QStringList additionalFieldNames() const { return m_fieldNames; }
    QString additionalField(const QString &field) const;
    // As the editor changes one: an emptied field has no value.
    void setAdditionalField(const QString &field, const QString &value);
    // Opens the small editor of the additional fields (while editing).
    Q_INVOKABLE void editaCamposAdicionales();

public Q_SLOTS:
    void confirmaaceptar();
    void cancelaaceptar();

Q_SIGNALS:
    void Nuevo();
    void Modificar();
    void Informacion();
    void Reactivar();
    void Eliminar();
    void Aceptar(short &nuevo);
    void Cancelar();
    void Salir();
    void B1Click();
    void B2Click();
    void B3Click();
    // A shortcut is about to run command; clearing proceed stops it.
    void KeyCommand(const QString &command, bool &proceed);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildButtons();
    void refresh();
    void fillWindowsMenu();
    void pressByKey(const QString &command);
    // The buttons fitted to the toolbar's size (ToolbarFit).
    void fitButtons();
    QToolButton *button(const QString &command) const;

    QString m_caption;
    QString m_opcTable;
    QString m_opcKey;
    QString m_showexitbutton = QStringLiteral("SI");
    QString m_showwindowslist = QStringLiteral("NO");
    QString m_showmenupopup = QStringLiteral("NO");
    QString m_easyaccessenabled = QStringLiteral("NO");
    QString m_tabwidth = QStringLiteral("0");
    State m_state = Initial;
    bool m_informacion = false;
    bool m_reactivar = false;
    bool m_modificar = false;
    bool m_eliminar = false;
    QString m_b1;
    QString m_b2;
    QString m_b3;
    QString m_clave;
    bool m_sololectura = false;

    QLabel *m_captionLabel = nullptr;
    QMap<QString, QToolButton *> m_buttons;
    QToolButton *m_fieldsButton = nullptr;
    QToolButton *m_windowsButton = nullptr;

    QStringList m_fieldNames;          // Ca_Campo, in order
    QMap<QString, QString> m_fieldTitles;
    QMap<QString, QVariant> m_fieldValues;
    bool m_fieldsRead = false;
};

} // namespace suite
