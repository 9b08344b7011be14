#pragma once

#include "suite/host/HostOptions.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

namespace suite {

class ComponentHost;
class Connection;
class HostWindow;
class Session;

// Opens the screen as the suite's host does: the database and the session,
// then the component by its ProgID, the form from Pantalla.GetPantalla, the
// main window as its parent object (Padre), shown at the design size. Every
// failure throws SuiteError with a text for the user.
class ScreenHost : public QObject
{
    Q_OBJECT

public:
    static constexpr auto ProgId = "XB733.Pantalla";
    // The screen's design client size, in twips.
    static constexpr double DesignWidth = 11745;
    static constexpr double DesignHeight = 8250;
    // The key box's search, and what the screen offers for the rows marked in it.
    static constexpr auto AssetSearch = "ACTIVO_FIJO";
    static constexpr auto LabelsAction = "Imprimir etiquetas";

    explicit ScreenHost(const HostOptions &options, QObject *parent = nullptr);
    ~ScreenHost() override;

    // Opens the database of the options and publishes the session. Without a
    // URL, the demo database in the user's data folder, made on first use.
    void openDatabase();
    Session &session() const;

    // Refuses, before anything shows, an operator whose code the audit
    // columns cannot keep.
    void openScreen();
    HostWindow *window() const;
    QWidget *form() const;

    // The labels of these asset keys, through what the screen offers for
    // the rows marked in its asset search; SuiteError when it offers nothing.
    void printLabels(const QStringList &keys) const;

    // Hands everything back in the order the component needs: the form out of
    // the window, the component's objects, the component, the session.
    void close();

    // Where the component module is looked for: TALVEXOR_LIB_DIR, or the
    // lib folder beside the executable's bin folder.
    static QString componentLibrary();

    // --init-db and --demo: the schema, and the demo data when asked.
    static void prepareDatabase(Connection &connection, bool loadDemo);

private Q_SLOTS:
    void onLoadFailed(const QString &text);

private:
    HostOptions m_options;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<ComponentHost> m_components;
    std::unique_ptr<QObject> m_pantalla;
    QPointer<QWidget> m_form;
    std::unique_ptr<HostWindow> m_window;
    QString m_loadError;
    QStringList m_schemaNotices; // what opening the database left undone
};

} // namespace suite
