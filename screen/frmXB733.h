#pragma once

#include "suite/kit/FormControls.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QWidget>
#include <memory>

namespace suite {
class Entorno;
class Utilerias;
} // namespace suite

namespace xb733 {
class FormKeyboard;
class RecordEvents;
class UnsavedWork;
struct FormVariables;
} // namespace xb733

// The fixed-asset catalogue screen. The form only coordinates: its controls come
// from one declarative description (FormDescription), start-up, keyboard, tab and
// resize handling each live in their own class. Record operations reach the
// controls by their design names through control() / controlAs<T>().
class frmXB733 : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QObject *Padre READ Padre WRITE setPadre)
    Q_PROPERTY(QString Transaccion READ Transaccion)
    // Form variables filled by start-up, readable late-bound.
    Q_PROPERTY(QString CentroCostoDefault READ CentroCostoDefault)
    Q_PROPERTY(QString EtiquetasActivoFijo READ EtiquetasActivoFijo)
    Q_PROPERTY(QString MarcaEquipoDefault READ MarcaEquipoDefault)
    Q_PROPERTY(QString TipoVehiculoDefault READ TipoVehiculoDefault)
    Q_PROPERTY(QString UbicacionEquipoDefault READ UbicacionEquipoDefault)
    Q_PROPERTY(QString TipoEquipoDefault READ TipoEquipoDefault)
    Q_PROPERTY(QString FormatoEquipo READ FormatoEquipo)
    Q_PROPERTY(QString FormatoVehiculo READ FormatoVehiculo)
    Q_PROPERTY(QString FormatoCentroCosto READ FormatoCentroCosto)
    Q_PROPERTY(bool ClaveEditable READ ClaveEditable)
    // The asset's columns a host brings in and out through the screen (RecordColumns).
    Q_PROPERTY(QVariantList recordColumns READ recordColumns)

public:
    // Design client size, in twips.
    static constexpr double DesignClientWidth = 11745;
    static constexpr double DesignClientHeight = 8250;

    frmXB733(suite::Entorno *entorno, suite::Utilerias *utilerias, QWidget *parent = nullptr);
    ~frmXB733() override;

    QObject *Padre() const;
    void setPadre(QObject *padre);
    // Throws suite::SuiteError when Padre is empty or has no "Transaccion".
    QString Transaccion() const;

    // Start-up runs once: on the first show or here, whichever comes first.
    // False when it failed; loadError() then holds the error's text.
    bool ensureLoaded();
    bool isLoaded() const;
    QString loadError() const;

    // The control with this design name (its objectName), null when none.
    QWidget *control(const QString &name) const;
    template<class T>
    T *controlAs(const QString &name) const { return qobject_cast<T *>(control(name)); }

    suite::Entorno *entorno() const;
    suite::Utilerias *utilerias() const;

    QString CentroCostoDefault() const;
    QString EtiquetasActivoFijo() const;
    QString MarcaEquipoDefault() const;
    QString TipoVehiculoDefault() const;
    QString UbicacionEquipoDefault() const;
    QString TipoEquipoDefault() const;
    QString FormatoEquipo() const;
    QString FormatoVehiculo() const;
    QString FormatoCentroCosto() const;
    bool ClaveEditable() const;
    QVariantList recordColumns() const;
    // The asset on screen is taken as a user saw it earlier, at this version
    // of its row (a file exported then): a write command refuses when the
    // row was written since, as it does for a change after the load.
    Q_INVOKABLE void assumeShownVersion(qlonglong version);

    // The client area in twips (what resize works from).
    double scaleWidth() const;
    double scaleHeight() const;
    // Sets the client area in twips (the host opens the form at the design size).
    void setClientSizeTwips(double width, double height);

public Q_SLOTS:
    // The form's own handlers, callable by record operations and tests. They
    // throw suite::SuiteError like the services they call, except Form_Resize,
    // which ignores every failure.
    void Form_Activate();
    void Form_Resize();
    void Form_KeyUp(int keyCode, int shift);
    void opEmpleado_Click();
    void opCliente_Click();
    void ssTabKit_TabChanged(int previousTab);

Q_SIGNALS:
    void loadFailed(const QString &text);
    // A handler run by an event (a click, a key, a tab change) failed without
    // trapping it; the failure is shown, the event ends there and the form
    // carries on.
    void eventFailed(const QString &routine, const QString &text);

protected:
    bool event(QEvent *event) override;
    // Watches Padre: closing the window asks before dropping unsaved work.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Load();
    void giveLookupsTheirRows();
    void wireEvents();
    void wireUnsavedWork();
    // Esc and Ctrl+Q (not their buttons), and closing the window: with
    // unsaved changes, true only when the user agrees to drop them.
    bool mayDrop(const QString &command);
    template<class Handler>
    void guarded(const QString &routine, Handler handler);

    suite::Entorno *m_entorno;
    suite::Utilerias *m_utilerias;
    QPointer<QObject> m_padre;
    std::unique_ptr<suite::FormControls> m_controls;
    std::unique_ptr<xb733::FormVariables> m_variables;
    std::unique_ptr<xb733::FormKeyboard> m_keyboard;
    std::unique_ptr<xb733::RecordEvents> m_records;
    std::unique_ptr<xb733::UnsavedWork> m_unsaved;
    bool m_leaving = false; // the exit command is closing Padre
    bool m_loadAttempted = false;
    bool m_loaded = false;
    QString m_loadError;
};
